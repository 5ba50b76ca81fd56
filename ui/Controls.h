#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include <filesystem>
#include <string_view>

namespace mirovax {

// A text of the core (UTF-8) as the controls show it.
QString Q(std::string_view text);

// A path the user chose, as the file system spells it.
std::filesystem::path FilePath(const QString& path);

// An object name of a numbered control: "Edit" and 5 give "Edit5".
QString NumberedName(const char* prefix, int n);

// Limits typing and pasting to a number of characters and, where asked,
// turns letters into capitals. Text the program sets is neither cut nor
// changed: a distance of five digits written into a four-character field
// stays whole.
class TEditValidator : public QValidator {
    Q_OBJECT
public:
    explicit TEditValidator(QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

    void setCharLimit(int limit) { m_charLimit = limit; }
    int charLimit() const { return m_charLimit; }
    void setUpperCase(bool on) { m_upperCase = on; }
    bool upperCase() const { return m_upperCase; }
    // The limit applies to the user's edits only, between these two calls;
    // previousLength is the text's length before the edit, so a field that
    // already holds more than its limit can still be shortened.
    void beginUserEdit(qsizetype previousLength);
    void endUserEdit();

private:
    int m_charLimit = 32767;
    bool m_upperCase = false;
    bool m_userEdit = false;
    qsizetype m_previousLength = 0;
};

// An edit field with a maximum length that limits typing only, and optional
// upper-case forcing.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent = nullptr);

    void setCharLimit(int limit);
    int charLimit() const;
    void setUpperCase(bool on);
    bool upperCase() const;

signals:
    // The text now differs from the text last reported. QLineEdit reports a
    // change also when its validator cuts a keystroke that does not fit back
    // to the very text the field held before; that is no change here.
    void contentChanged(const QString& text);

protected:
    // Every way the user can change the text: keys (paste and undo among
    // them), input methods, the context menu, dropping and middle-click.
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TEditValidator* m_validator;
    QString m_reportedText;
};

// A group box whose caption sits on the frame's top line, so that the
// positions of its controls count from the box's top edge with the frame
// half a text line below it, whatever the style would do.
class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TGroupBox(const QString& title, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A caption ("static text") or a value label: text drawn from the top-left
// corner, never taking the focus.
QLabel* MakeLabel(
    QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height);

} // namespace mirovax

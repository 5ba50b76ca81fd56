#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace mirovax {

// A standard file dialog of the windows: its name and its filter in
// "description|pattern|description|pattern" form.
struct FileDialogSpec {
    QString name;
    QString filter;
    // The name the dialog proposes when it opens; empty proposes none.
    QString fileName = QString();
    // Whether choosing an existing file asks before it is replaced.
    bool confirmOverwrite = true;
};

// The path the user chose (empty when cancelled) and the 1-based index of the
// chosen file type in the filter.
struct FileChoice {
    QString path;
    int filterIndex = 1;
    bool accepted() const { return !path.isEmpty(); }
};

// The answer to a question box.
enum class TAnswer { Yes, No, Cancel };

// Every message box, file dialog and print dialog the window shows goes
// through here, so that tests can answer them.
class IDialogs {
public:
    virtual ~IDialogs() = default;
    // The system's sound for information messages.
    virtual void informationSound() = 0;
    // Modal warning box with the warning icon and a single OK button.
    virtual void warning(QWidget* parent, const QString& text) = 0;
    // Modal warning box with Yes, No and Cancel; Esc and the title bar's
    // close button answer Cancel.
    virtual TAnswer question(QWidget* parent, const QString& text) = 0;
    // Modal error box titled "Mirovax" (the general error handler).
    virtual void error(QWidget* parent, const QString& text) = 0;
    virtual FileChoice openFile(QWidget* parent, const FileDialogSpec& spec) = 0;
    virtual FileChoice saveFile(QWidget* parent, const FileDialogSpec& spec) = 0;
    // The print dialog; true when the user confirmed it.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // A list to pick one item of, the first proposed: its index, or -1 when
    // cancelled.
    virtual int chooseItem(QWidget* parent, const QString& text, const QStringList& items) = 0;
    // The name a file dialog proposes when it next opens, where its owner
    // completed the chosen one (an extension appended).
    virtual void keepFileName(const FileDialogSpec& /*spec*/, const QString& /*path*/) { }
};

// The real dialogs: QMessageBox, QFileDialog, QPrintDialog.
class TQtDialogs : public IDialogs {
public:
    void informationSound() override;
    void warning(QWidget* parent, const QString& text) override;
    TAnswer question(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    FileChoice openFile(QWidget* parent, const FileDialogSpec& spec) override;
    FileChoice saveFile(QWidget* parent, const FileDialogSpec& spec) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    int chooseItem(QWidget* parent, const QString& text, const QStringList& items) override;
    void keepFileName(const FileDialogSpec& spec, const QString& path) override;

private:
    // Each file dialog proposes the file last chosen in it during the run.
    QHash<QString, QString> m_lastFileNames;
};

// "Rich Text File|*.RTF|Text File|*.TXT" as the name filters a Qt file dialog
// takes: "Rich Text File (*.RTF)", "Text File (*.TXT)".
QStringList QtNameFilters(const QString& barFilter);

// The messages about entries and limits: the information sound, then the
// warning box.
void ShowEntryMessage(IDialogs& dialogs, QWidget* parent, const QString& text);

} // namespace mirovax

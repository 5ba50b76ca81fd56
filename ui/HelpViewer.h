#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace mirovax {

// The help viewer: shows the program's help file, an HTML document whose
// topics are anchored by their help-context numbers ("105" to "111") and
// whose contents topic is anchored "contents". It is a window of its own
// beside the main window, as a platform help viewer would be.
class THelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit THelpViewer(QWidget* parent = nullptr);

    // Opens the file at its contents topic. A file that cannot be read is
    // reported in the viewer itself.
    void showContents(const QString& helpFile);
    // Opens the file at the topic of a help-context number.
    void showContext(const QString& helpFile, int context);

    QString loadedFile() const { return m_loadedFile; }
    QTextBrowser* browser() const { return m_browser; }

private:
    bool load(const QString& helpFile);

    QTextBrowser* m_browser;
    QString m_loadedFile;
};

} // namespace mirovax

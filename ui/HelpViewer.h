#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QPushButton;
class QTextBrowser;
class QUrl;

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
    // The topic shown, by its anchor; empty before any.
    QString currentTopic() const;

private:
    bool load(const QString& helpFile);
    // Shows a topic and records it as the latest visited: the topics ahead
    // of the one shown, which Forward would return to, are dropped.
    void visit(const QString& anchor);
    void followLink(const QUrl& url);
    void step(int by);
    void showCurrent();

    QTextBrowser* m_browser;
    QPushButton* m_back;
    QPushButton* m_forward;
    QString m_loadedFile;
    // Visited topics in order; m_current indexes the one shown.
    QStringList m_topics;
    qsizetype m_current = -1;
};

} // namespace mirovax

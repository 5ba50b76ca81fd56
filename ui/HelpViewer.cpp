#include "ui/HelpViewer.h"

#include "ui/accessible/accessible_names.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <string>

namespace mirovax {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const QString& hint)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    return button;
}

} // namespace

THelpViewer::THelpViewer(QWidget* parent)
    : QDialog(parent)
    , m_browser(new QTextBrowser(this))
    , m_back(
          Button(this, "HelpBackButton", QStringLiteral("&Back"), QStringLiteral("Back to the topic before")))
    , m_forward(Button(this, "HelpForwardButton", QStringLiteral("&Forward"),
          QStringLiteral("Forward to the topic after")))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Mirovax Help"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
        | Qt::WindowCloseButtonHint);
    setModal(false);
    resize(620, 560);

    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    // The viewer keeps the visited topics itself: the browser's own history
    // starts only with the second link followed, as the file is set rather
    // than opened by it.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    m_browser->setAccessibleName(QStringLiteral("Help topic"));
    m_browser->setAccessibleDescription(QStringLiteral("The help text; its links open other topics"));

    QPushButton* contents = Button(
        this, "HelpContentsButton", QStringLiteral("&Contents"), QStringLiteral("Show the contents"));
    QPushButton* close
        = Button(this, "HelpCloseButton", QStringLiteral("Close"), QStringLiteral("Close Help"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    connect(contents, &QPushButton::clicked, this, [this] { visit(QStringLiteral("contents")); });
    connect(m_back, &QPushButton::clicked, this, [this] { step(-1); });
    connect(m_forward, &QPushButton::clicked, this, [this] { step(1); });
    connect(m_browser, &QTextBrowser::anchorClicked, this, &THelpViewer::followLink);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    NameControlsForAccessibility(this);
}

QString THelpViewer::currentTopic() const
{
    return m_current >= 0 ? m_topics.at(m_current) : QString();
}

bool THelpViewer::load(const QString& helpFile)
{
    show();
    raise();
    activateWindow();
    if (helpFile == m_loadedFile)
        return true;
    // Topics of another file cannot be returned to.
    m_topics.clear();
    m_current = -1;
    showCurrent();
    QFile file(helpFile);
    if (!file.open(QIODevice::ReadOnly)) {
        m_loadedFile.clear();
        m_browser->setPlainText(
            QStringLiteral("The help file \"%1\" could not be opened: %2").arg(helpFile, file.errorString()));
        return false;
    }
    m_browser->setHtml(QString::fromUtf8(file.readAll()));
    m_loadedFile = helpFile;
    return true;
}

void THelpViewer::visit(const QString& anchor)
{
    if (m_loadedFile.isEmpty())
        return;
    if (currentTopic() != anchor) {
        m_topics.resize(m_current + 1);
        m_topics.append(anchor);
        m_current = m_topics.size() - 1;
    }
    showCurrent();
}

void THelpViewer::followLink(const QUrl& url)
{
    // The help file links only to its own topics.
    if (url.hasFragment() && url.path().isEmpty())
        visit(url.fragment());
}

void THelpViewer::step(int by)
{
    const qsizetype to = m_current + by;
    if (to < 0 || to >= m_topics.size())
        return;
    m_current = to;
    showCurrent();
}

void THelpViewer::showCurrent()
{
    if (m_current >= 0)
        m_browser->scrollToAnchor(m_topics.at(m_current));
    m_back->setEnabled(m_current > 0);
    m_forward->setEnabled(m_current + 1 < m_topics.size());
}

void THelpViewer::showContents(const QString& helpFile)
{
    if (load(helpFile))
        visit(QStringLiteral("contents"));
}

void THelpViewer::showContext(const QString& helpFile, int context)
{
    if (load(helpFile))
        visit(QString::fromStdString(std::to_string(context)));
}

} // namespace mirovax

#include "ui/HelpViewer.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <string>

namespace mirovax {

THelpViewer::THelpViewer(QWidget* parent)
    : QDialog(parent)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Mirovax Help"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
        | Qt::WindowCloseButtonHint);
    setModal(false);
    resize(620, 560);

    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(false);

    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    contents->setObjectName(QStringLiteral("HelpContentsButton"));
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    back->setObjectName(QStringLiteral("HelpBackButton"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("HelpCloseButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    connect(contents, &QPushButton::clicked, this,
        [this] { m_browser->scrollToAnchor(QStringLiteral("contents")); });
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    back->setEnabled(false);
}

bool THelpViewer::load(const QString& helpFile)
{
    show();
    raise();
    activateWindow();
    if (helpFile == m_loadedFile)
        return true;
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

void THelpViewer::showContents(const QString& helpFile)
{
    if (load(helpFile))
        m_browser->scrollToAnchor(QStringLiteral("contents"));
}

void THelpViewer::showContext(const QString& helpFile, int context)
{
    if (load(helpFile))
        m_browser->scrollToAnchor(QString::fromStdString(std::to_string(context)));
}

} // namespace mirovax

#include "ui/AboutUnit.h"

#include "ui/Controls.h"
#include "ui/Pictures.h"
#include "ui/WindowFont.h"
#include "ui/accessible/accessible_names.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace mirovax {

TAboutForm::TAboutForm(QWidget* mainWindow)
    : QDialog(nullptr,
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFixedSize(495, 102);
    setFont(WindowFont());
    setWindowIcon(ProgramIcon());

    // The program's picture fills the space left of the text panel.
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setPixmap(ProgramIcon().pixmap(48, 48));
    picture->setGeometry(24, 8, 48, 48);

    m_panel1 = new QFrame(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panel1->setGeometry(96, 24, 385, 65);

    m_label1 = MakeLabel(m_panel1, QStringLiteral("Label1"), QStringLiteral("Label1"), 8, 8, 369, 13);
    m_staticText1 = MakeLabel(m_panel1, QStringLiteral("StaticText1"),
        QStringLiteral("Mission performance calculator for airplanes"), 8, 32, 369, 17);

    m_button1 = new QPushButton(QStringLiteral("OK"), this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setGeometry(8, 64, 75, 25);
    m_button1->setDefault(true);
    m_button1->setToolTip(QStringLiteral("Close the About box"));
    m_button1->setFocus();

    // Esc and the close button reject the dialog, which closes it as OK does.
    connect(m_button1, &QPushButton::clicked, this, &TAboutForm::Button1Click);
    NameControlsForAccessibility(this);
}

void TAboutForm::showEvent(QShowEvent* event)
{
    FormShow();
    if (m_mainWindow) {
        QRect frame = frameGeometry();
        frame.moveCenter(m_mainWindow->frameGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void TAboutForm::FormShow()
{
    if (m_mainWindow)
        m_label1->setText(m_mainWindow->windowTitle());
    m_button1->setFocus();
}

void TAboutForm::Button1Click()
{
    accept();
}

} // namespace mirovax

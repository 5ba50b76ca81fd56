#include "ui/Dialogs.h"
#include "ui/MainUnit.h"
#include "ui/Pictures.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirovax"));
    QApplication::setWindowIcon(mirovax::ProgramIcon());

    mirovax::TQtDialogs dialogs;
    // Creating the window runs its start-up; an error there has been shown
    // already and start-up goes on.
    mirovax::TMainForm mainForm(dialogs);
    mainForm.show();
    return QApplication::exec();
}

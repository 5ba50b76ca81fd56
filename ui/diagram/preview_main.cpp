// Shows the diagram window for a type of the shipped airplane table with the
// main window's entries at start: how the README's picture is made, and a
// quick look at a new type's envelope.
//   payload-range-preview [TYPE] [PNG]
// With PNG the picture is saved there and the program ends.
#include "form/payload_range_inputs.h"
#include "refdata/airplane.h"
#include "refdata/table_store.h"
#include "ui/Dialogs.h"
#include "ui/diagram/payload_range_form.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <exception>
#include <iostream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const std::string type = args.size() > 1 ? args[1].toStdString() : "A320-214";

    mirovax::TMissionData airplane;
    mirovax::AirplaneDisplay display;
    try {
        mirovax::TTable table;
        table.Open(QDir(app.applicationDirPath()).filePath("Airplane.DB").toStdString());
        display = mirovax::LoadAirplane(table, type, airplane);
    } catch (const std::exception& e) {
        std::cerr << "payload-range-preview: " << e.what() << "\n";
        return 1;
    }

    const mirovax::FieldTexts texts = {{"KSFO", "KBFI", "594", "12000", "310", "-46", "0", "KSEA", "433", "5",
        "45", "1500", "0", display.matow, display.malw}};
    mirovax::TQtDialogs dialogs;
    mirovax::TPayloadRangeForm form(dialogs);
    form.SetInputs(mirovax::DiagramMissionOf(airplane, texts));
    form.show();
    if (args.size() > 2) {
        QTimer::singleShot(500, &form, [&] { QApplication::exit(form.SavePngTo(args[2]) ? 0 : 1); });
    }
    return app.exec();
}

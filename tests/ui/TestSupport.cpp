#include "TestSupport.h"

#include "ui/FileVersion.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include <stdexcept>

namespace mirovax::test {

TAnswer TScriptedDialogs::question(QWidget*, const QString& text)
{
    questions << text;
    if (answers.empty())
        return TAnswer::No;
    const TAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

FileChoice TScriptedDialogs::openFile(QWidget*, const FileDialogSpec& spec)
{
    fileDialogs << spec.name;
    fileSpecs.push_back(spec);
    if (files.empty())
        return {};
    FileChoice choice = files.front();
    files.pop_front();
    return choice;
}

FileChoice TScriptedDialogs::saveFile(QWidget* parent, const FileDialogSpec& spec)
{
    return openFile(parent, spec);
}

bool TScriptedDialogs::choosePrinter(QWidget*, QPrinter& printer)
{
    ++printDialogs;
    return printerAnswer ? printerAnswer(printer) : false;
}

TProgramDir::TProgramDir()
{
    QFile exe(executable());
    if (!exe.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the stand-in executable");
    const std::string record = EncodeVersionRecord(2, 10, 0, 7);
    exe.write("\x7f"
              "ELF stand-in ");
    exe.write(record.data(), static_cast<qint64>(record.size()));
    exe.write(" trailer");
}

void TProgramDir::writeAirplanes(const std::vector<AirplaneRow>& records)
{
    mirovax::testing::WriteAirplaneTable(m_dir.file("Airplane.DB"), records);
}

void TProgramDir::writeAirports(const std::vector<AirportRow>& records)
{
    mirovax::testing::WriteAirportTable(m_dir.file("Airports.DB"), records);
}

void TProgramDir::copyHelpFile()
{
    QFile::copy(QStringLiteral(MIROVAX_HELP_SOURCE), path(QStringLiteral("MRX_HELP.hlp")));
}

bool TWindowUnderTest::start(const std::vector<AirplaneRow>& airplanes)
{
    dir = std::make_unique<TProgramDir>();
    dir->writeAirplanes(airplanes);
    dir->writeAirports(BayAreaAirports());
    dialogs = std::make_unique<TScriptedDialogs>();
    form = std::make_unique<TMainForm>(*dialogs, dir->executable());
    form->show();
    return QTest::qWaitForWindowExposed(form.get());
}

void TWindowUnderTest::stop()
{
    form.reset();
    dialogs.reset();
    dir.reset();
}

void PickItem(QWidget* form, const char* selectorName, const QString& text)
{
    auto* selector = form->findChild<QComboBox*>(QString::fromLatin1(selectorName));
    const int index = selector ? selector->findText(text) : -1;
    if (index < 0)
        throw std::runtime_error("no item \"" + text.toStdString() + "\" in " + selectorName);
    selector->setCurrentIndex(index);
    emit selector->textActivated(selector->itemText(index));
}

FieldTexts EntryTexts(QWidget* form)
{
    FieldTexts texts;
    for (const FieldSpec& spec : Fields())
        texts[spec.field] = Edit(form, spec.field)->text().toStdString();
    return texts;
}

TEdit* Edit(QWidget* form, Field field)
{
    const std::string_view name = Spec(field).control;
    return form->findChild<TEdit*>(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

QStringList ResultLabels(QWidget* form)
{
    QStringList texts;
    for (int n = 12; n <= 30; ++n)
        texts << form->findChild<QWidget*>(QStringLiteral("ClientArea"))
                     ->findChild<QLabel*>(QStringLiteral("Label") + QString::fromStdString(std::to_string(n)))
                     ->text();
    return texts;
}

void WhenEventsRun(const std::function<void()>& fn)
{
    QTimer::singleShot(0, fn);
}

} // namespace mirovax::test

#include "TestSupport.h"
#include "report/payload_range_output.h"
#include "ui/diagram/payload_range_form.h"
#include "worked_data.h"

#include <QAreaSeries>
#include <QChart>
#include <QDir>
#include <QImage>
#include <QLineSeries>
#include <QPrinter>
#include <QPushButton>
#include <QScatterSeries>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <functional>

using namespace mirovax;

namespace {

// The print dialog confirmed with a PDF printer writing to path.
std::function<bool(QPrinter&)> PrintToPdf(const QString& path)
{
    return [path](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
}

// The worked airplane with a takeoff limit that leaves a tank corner.
TMissionData Worked()
{
    TMissionData md = test::WorkedMission();
    md.MATOW = 24000;
    md.Airframe = "Worked Example";
    return md;
}

FieldTexts WorkedTexts()
{
    return {{"KSFO", "KBFI", "594", "5000", "310", "-46", "20", "KSEA", "433", "100", "45", "1500", "5",
        "24000", "25000"}};
}

QList<QPointF> Points(const std::vector<PayloadRangePoint>& diagram, bool cornersOnly)
{
    QList<QPointF> points;
    for (const auto& p : diagram) {
        if (p.corner || !cornersOnly)
            points.append(QPointF(p.range, p.payload));
    }
    return points;
}

QByteArray FileStart(const QString& path, int bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

} // namespace

class TestPayloadRangeForm : public QObject {
    Q_OBJECT
private slots:
    void seriesHoldTheComputedDiagram();
    void missionInsideOrOutside();
    void unusableEntriesReplaceTheChart();
    void limitsThatNeverBindAreRefused();
    void savesPngAndSvg();
    void savingFailsLoudlyAndCancelsQuietly();
    void printsThePicture();
    void handWrittenSvgReadsBack();
};

void TestPayloadRangeForm::seriesHoldTheComputedDiagram()
{
    test::TScriptedDialogs dialogs;
    TPayloadRangeForm form(dialogs);
    QCOMPARE(form.windowTitle(), QString("Payload-Range"));
    const TMissionData md = Worked();
    form.SetMission(md, 5000, 300);
    QVERIFY(form.DiagramShown());

    const auto expected = ComputePayloadRange(md, TPayloadRangeForm::kPoints);
    QCOMPARE(form.Diagram().size(), expected.size());
    auto* envelope = form.Chart()->findChild<QAreaSeries*>("Envelope");
    auto* corners = form.Chart()->findChild<QScatterSeries*>("Corners");
    auto* mission = form.Chart()->findChild<QScatterSeries*>("Mission");
    QVERIFY(envelope && corners && mission);
    QCOMPARE(envelope->upperSeries()->points(), Points(expected, false));
    QCOMPARE(corners->points(), Points(expected, true));
    QCOMPARE(mission->points(), QList<QPointF>{QPointF(300, 5000)});

    // The worked corners, each named by the limit that binds from it on:
    // payload limit, takeoff weight, the tank from the tank corner (where
    // both limits meet), and the ferry range. No two read alike.
    const QStringList labels = form.CornerLabels();
    QCOMPARE(labels.size(), 4);
    QVERIFY2(labels[0].startsWith("Zero Fuel Weight\n7000 kg, 0 NM"), qPrintable(labels[0]));
    QVERIFY2(labels[1].startsWith("Maximum Takeoff Weight\n7000 kg, "), qPrintable(labels[1]));
    QVERIFY2(labels[2].startsWith("Tank Capacity\n4000 kg, "), qPrintable(labels[2]));
    QVERIFY2(labels[3].startsWith("Ferry Range\n0 kg, "), qPrintable(labels[3]));

    // A second record replaces the first, labels included.
    TMissionData lighter = md;
    lighter.MATOW = 30000; // the tank corner leaves the envelope
    form.SetMission(lighter, 5000, 300);
    QCOMPARE(form.CornerLabels().size(), 3);
    QCOMPARE(envelope->upperSeries()->points(),
        Points(ComputePayloadRange(lighter, TPayloadRangeForm::kPoints), false));
}

void TestPayloadRangeForm::missionInsideOrOutside()
{
    test::TScriptedDialogs dialogs;
    TPayloadRangeForm form(dialogs);
    const TMissionData md = Worked();
    form.SetMission(md, 5000, 300);
    QVERIFY(form.MissionInside());
    QCOMPARE(form.MissionText(), QString("Mission: 5000 kg over 300 NM, inside the envelope."));

    const auto diagram = ComputePayloadRange(md, 2);
    const double ferry = diagram.back().range;
    form.SetMission(md, 0, ferry + 1);
    QVERIFY(!form.MissionInside());
    QVERIFY2(form.MissionText().endsWith("outside the envelope."), qPrintable(form.MissionText()));
    form.SetMission(md, 7001, 10);
    QVERIFY(!form.MissionInside());
}

void TestPayloadRangeForm::unusableEntriesReplaceTheChart()
{
    test::TScriptedDialogs dialogs;
    TPayloadRangeForm form(dialogs);
    FieldTexts texts = WorkedTexts();
    form.SetInputs(DiagramMissionOf(Worked(), texts));
    QVERIFY(form.DiagramShown());
    QCOMPARE(PayloadRangeJson(form.Diagram()),
        PayloadRangeJson(ComputePayloadRange(Worked(), TPayloadRangeForm::kPoints)));

    texts[Field::FlightLevel] = "";
    form.SetInputs(DiagramMissionOf(Worked(), texts));
    QVERIFY(!form.DiagramShown());
    QCOMPARE(form.Message(), QString("The diagram cannot be drawn: Flight Level is empty."));
    QVERIFY(form.Diagram().empty());
    QVERIFY(form.CornerLabels().isEmpty());
    for (auto* button : form.findChildren<QPushButton*>())
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));

    // No dialog opens without a diagram.
    QVERIFY(!form.SavePng());
    QVERIFY(!form.Print());
    QVERIFY(dialogs.fileDialogs.isEmpty());
    QCOMPARE(dialogs.printDialogs, 0);

    texts[Field::FlightLevel] = "310";
    texts[Field::Matow] = "Edit14"; // no airplane loaded yet
    form.SetInputs(DiagramMissionOf(Worked(), texts));
    QCOMPARE(form.Message(), QString("The diagram cannot be drawn: MATOW is not a number."));

    texts[Field::Matow] = "24000";
    form.SetInputs(DiagramMissionOf(Worked(), texts));
    QVERIFY(form.DiagramShown());
    QVERIFY(form.Message().isEmpty());
}

void TestPayloadRangeForm::limitsThatNeverBindAreRefused()
{
    test::TScriptedDialogs dialogs;
    TPayloadRangeForm form(dialogs);
    TMissionData md = Worked();
    md.aC1 = md.aC2 = 0;
    md.TCAP = 1e9;
    md.MATOW = 1e9;
    form.SetMission(md, 5000, 300);
    QVERIFY(!form.DiagramShown());
    QVERIFY2(form.Message().contains("neither the tank capacity nor the allowable takeoff weight"),
        qPrintable(form.Message()));

    // No airplane at all: the fuel models divide by a zero speed.
    form.SetMission(TMissionData{}, 0, 0);
    QVERIFY(!form.DiagramShown());
    QVERIFY2(
        form.Message().startsWith("The payload-range diagram cannot be drawn: "), qPrintable(form.Message()));
}

void TestPayloadRangeForm::savesPngAndSvg()
{
    test::TScriptedDialogs dialogs;
    TPayloadRangeForm form(dialogs);
    form.SetMission(Worked(), 5000, 300);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTemporaryDir dir;

    dialogs.files = {{dir.filePath("diagram"), 1}, {dir.filePath("diagram.svg"), 1}};
    QVERIFY(form.SavePng());
    // The suffix is added, and the dialog proposes the completed name.
    QCOMPARE(dialogs.keptFileNames, QStringList{dir.filePath("diagram.png")});
    const QImage png(dir.filePath("diagram.png"), "PNG");
    QVERIFY(!png.isNull());
    QVERIFY(png.width() >= 640 && png.height() >= 420);
    // Not a blank picture: the envelope's blue is on it.
    bool blue = false;
    for (int y = 0; y < png.height() && !blue; y += 2) {
        for (int x = 0; x < png.width() && !blue; x += 2) {
            const QColor c = png.pixelColor(x, y);
            blue = c.blue() > 180 && c.red() < 90;
        }
    }
    QVERIFY(blue);

    QVERIFY(form.SaveSvg());
    QSvgRenderer svg(dir.filePath("diagram.svg"));
    QVERIFY(svg.isValid());
    QVERIFY(svg.defaultSize().width() >= 640);
    QFile file(dir.filePath("diagram.svg"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("Payload-Range"));
    QVERIFY(text.contains("Tank Capacity"));
    QVERIFY(text.contains("inside the envelope"));

    // Each format's dialog offers its own files, and keeps its own last name.
    QCOMPARE(dialogs.fileSpecs.size(), size_t{2});
    QVERIFY2(dialogs.fileSpecs[0].filter.endsWith("|*.png"), qPrintable(dialogs.fileSpecs[0].filter));
    QVERIFY2(dialogs.fileSpecs[1].filter.endsWith("|*.svg"), qPrintable(dialogs.fileSpecs[1].filter));
    QVERIFY(dialogs.fileSpecs[0].name != dialogs.fileSpecs[1].name);
    QCOMPARE(dialogs.messageCount(), 0);
}

void TestPayloadRangeForm::savingFailsLoudlyAndCancelsQuietly()
{
    test::TScriptedDialogs dialogs;
    TPayloadRangeForm form(dialogs);
    form.SetMission(Worked(), 5000, 300);

    QVERIFY(!form.SavePng()); // cancelled
    QVERIFY(!form.SaveSvg());
    QCOMPARE(dialogs.fileDialogs.size(), 2);
    QCOMPARE(dialogs.messageCount(), 0);

    // A name taken by a folder: the error box names it, and nothing is left
    // beside it.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("taken.png") && QDir(dir.path()).mkdir("taken.svg"));
    dialogs.files = {{dir.filePath("taken.png"), 1}, {dir.filePath("taken.svg"), 1}};
    QVERIFY(!form.SavePng());
    QVERIFY(!form.SaveSvg());
    QCOMPARE(dialogs.errors.size(), 2);
    QVERIFY2(
        dialogs.errors[0].startsWith("Cannot save the diagram to \"" + dir.filePath("taken.png") + "\": "),
        qPrintable(dialogs.errors[0]));
    QVERIFY2(
        dialogs.errors[1].startsWith("Cannot save the diagram to \"" + dir.filePath("taken.svg") + "\": "),
        qPrintable(dialogs.errors[1]));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList({"taken.png", "taken.svg"}));
}

void TestPayloadRangeForm::printsThePicture()
{
    test::TScriptedDialogs dialogs;
    TPayloadRangeForm form(dialogs);
    form.SetMission(Worked(), 5000, 300);
    QVERIFY(!form.Print()); // the dialog cancelled

    QTemporaryDir dir;
    const QString pdf = dir.filePath("diagram.pdf");
    dialogs.printerAnswer = PrintToPdf(pdf);
    QVERIFY(form.Print());
    QCOMPARE(FileStart(pdf, 5), QByteArray("%PDF-"));
    QVERIFY(QFileInfo(pdf).size() > 2000);
    QCOMPARE(dialogs.messageCount(), 0);

    // A printer that cannot start is told, not passed over.
    dialogs.printerAnswer = PrintToPdf(dir.filePath("no-such-dir/diagram.pdf"));
    QVERIFY(!form.Print());
    QCOMPARE(dialogs.errors, QStringList{"The payload-range diagram could not be printed."});
    QCOMPARE(dialogs.printDialogs, 3);
}

void TestPayloadRangeForm::handWrittenSvgReadsBack()
{
    // The command line's SVG, read by a real SVG and XML reader.
    const auto diagram = ComputePayloadRange(Worked(), 50);
    const std::string svg = PayloadRangeSvg(diagram, MissionPoint{5000, 300}, "Worked & <example>");
    const QByteArray bytes = QByteArray::fromStdString(svg);
    QXmlStreamReader xml(bytes);
    int texts = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
            ++texts;
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(texts > 10);
    QSvgRenderer renderer(bytes);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.defaultSize(), QSize(760, 500));
}

QTEST_MAIN(TestPayloadRangeForm)
#include "test_payload_range_form.moc"

// The Maximum Range search as the window runs it: one event yield per pass,
// on the offscreen platform with the window shown.
// Targets: under 5 us per pass; an Abort click honoured within one pass.
// Load Setup with the payload-range and compare windows open: under 16 ms,
// a frame, with the shipped tables.
#include "ui/Dialogs.h"
#include "ui/MainUnit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <utility>

namespace {

using namespace mirovax;

constexpr double kPasses = 10000;

// Answers nothing: the bench mission hits no limit.
class SilentDialogs : public TQtDialogs {
public:
    void informationSound() override { }
    void warning(QWidget*, const QString&) override { }
    void error(QWidget*, const QString& text) override { qWarning("%s", qPrintable(text)); }
};

// A window over a directory without tables, with an airplane whose trip fuel
// is 1 kg per NAM and no reserves, so that a tank of 9999.5 kg ends the
// search after exactly 10,000 passes.
struct BenchWindow {
    explicit BenchWindow(double tankCapacity = kPasses - 0.5)
        : form(dialogs, dir.filePath(QStringLiteral("mirovax")))
    {
        TMissionData& md = form.MissionData();
        md.MZFW = 1e6;
        md.Mach = 0.78;
        md.MaxHold = 15000;
        md.aC1 = 1;
        md.aC2 = 1;
        md.MinCruise = 200;
        md.MaxCruise = 400;
        md.TCAP = tankCapacity; // kg
        const std::pair<int, const char*> texts[]
            = {{3, "594"}, {4, "0"}, {5, "310"}, {6, "-46"}, {7, "0"}, {8, "KSEA"}, {9, "0"}, {10, "0"},
                {11, "0"}, {12, "1500"}, {13, "0"}, {14, "999999"}, {15, "999999"}};
        for (const auto& [n, text] : texts)
            form.findChild<QLineEdit*>(QStringLiteral("Edit") + QString::fromStdString(std::to_string(n)))
                ->setText(QString::fromLatin1(text));
        form.findChild<QComboBox*>(QStringLiteral("ModeSelector"))
            ->setEditText(QStringLiteral("Maximum Range"));
        // No airplane table here: open the box as loading an airplane would,
        // so that Abort can be clicked.
        form.findChild<QWidget*>(QStringLiteral("ControlBox"))->setEnabled(true);
        form.show();
        exposed = QTest::qWaitForWindowExposed(&form);
    }

    QTemporaryDir dir;
    SilentDialogs dialogs;
    TMainForm form;
    bool exposed = false;
};

void BM_MaximumRangeSearchWithYield(benchmark::State& state)
{
    BenchWindow window;
    if (!window.exposed)
        state.SkipWithError("the window was not shown");
    for (auto _ : state)
        window.form.ExecuteButtonClick();
    // The distance is one NAM past the last pass's.
    const double passes = window.form.MissionData().StillAirDistance - 1;
    if (passes != kPasses)
        state.SkipWithError(("the search ran " + std::to_string(passes) + " passes, not 10,000").c_str());
    state.counters["passes"] = passes;
    state.counters["time_per_pass"] = benchmark::Counter(passes * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MaximumRangeSearchWithYield)->Unit(benchmark::kMillisecond);

// An Abort click in the middle of a search that would run for minutes: how
// many passes run after the click is delivered.
void BM_AbortLatency(benchmark::State& state)
{
    BenchWindow window(1e12);
    QPushButton* abort = window.form.findChild<QPushButton*>(QStringLiteral("AbortButton"));
    double distanceAtClick = 0;
    double passesAfterClick = 0;
    for (auto _ : state) {
        QTimer::singleShot(2, abort, [&] {
            distanceAtClick = window.form.MissionData().StillAirDistance;
            QTest::mouseClick(abort, Qt::LeftButton);
        });
        window.form.ExecuteButtonClick();
        passesAfterClick = window.form.MissionData().StillAirDistance - distanceAtClick;
        if (window.form.MissionData().LimitedBy != "Aborted by User")
            state.SkipWithError("the search ended before the click");
    }
    state.counters["passes_after_click"] = passesAfterClick;
}
BENCHMARK(BM_AbortLatency)->Unit(benchmark::kMillisecond);

// Answers the open dialog with one file and the offer to save with No.
class SetupDialogs : public SilentDialogs {
public:
    explicit SetupDialogs(QString path)
        : m_path(std::move(path))
    { }
    TAnswer question(QWidget*, const QString&) override { return TAnswer::No; }
    FileChoice openFile(QWidget*, const FileDialogSpec&) override { return {m_path, 1}; }

private:
    QString m_path;
};

// The window over the shipped tables beside this program, its built-in
// entries saved as a setup, the diagram and the compare window open; each
// iteration loads the setup as the Load Setup command does, the following
// windows redrawn once each.
void BM_LoadSetupWithDiagramAndCompareOpen(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString setup = dir.filePath(QStringLiteral("bench.MRX"));
    SetupDialogs dialogs(setup);
    TMainForm form(dialogs, QCoreApplication::applicationDirPath() + QStringLiteral("/mirovax"));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        state.SkipWithError("the window was not shown");
    form.SaveSetupFile(setup);
    form.findChild<QAction*>(QStringLiteral("PayloadRange1"))->trigger();
    form.findChild<QAction*>(QStringLiteral("Compare1"))->trigger();
    if (!form.PayloadRangeForm() || !form.CompareForm())
        state.SkipWithError("the following windows did not open");
    const TMainForm::TFollowerUpdates before = form.FollowerUpdates();
    for (auto _ : state)
        form.LoadSetup1Click();
    const TMainForm::TFollowerUpdates after = form.FollowerUpdates();
    const auto loads = static_cast<double>(state.iterations());
    state.counters["diagram_updates_per_load"] = (after.diagram - before.diagram) / loads;
    state.counters["compare_updates_per_load"] = (after.compare - before.compare) / loads;
}
BENCHMARK(BM_LoadSetupWithDiagramAndCompareOpen)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

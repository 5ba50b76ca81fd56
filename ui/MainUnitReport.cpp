// The mission report of the main window: composing it from the window's
// texts, showing it in the report box, saving it and printing it.

#include "ui/MainUnit.h"

#include "ui/Controls.h"
#include "ui/reportview/report_view.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

#include <string>
#include <utility>

namespace mirovax {

void TMainForm::BuildReport()
{
    // Everything the report copies, as the window shows it at this moment.
    ReportSnapshot snapshot;
    snapshot.title = windowTitle().toStdString();
    snapshot.modeText = ModeText().toStdString();
    snapshot.regulationText = m_session.RegulationsText();
    snapshot.setupFileName = SetupOpenDialogFileName().toStdString();
    snapshot.fields = m_session.EntryFields();
    if (const OpenedPlan* plan = m_session.Plan()) {
        snapshot.planFileName = plan->path;
        snapshot.planWaypoints = plan->plan.waypoints.size();
    }
    snapshot.windSource = m_session.WindSource();
    snapshot.oatSource = m_session.OatSource();
    // The captions are read from their controls; the fixed caption stands in
    // only for a static text the window does not have.
    for (int n = 1; n <= 51; ++n) {
        const QLabel* caption = m_client->findChild<QLabel*>(NumberedName("StaticText", n));
        snapshot.staticText(n)
            = caption != nullptr ? caption->text().toStdString() : std::string(StaticTextCaption(n));
    }
    for (int n = 1; n <= 30; ++n) {
        if (const QLabel* label = NumberedLabel(n))
            snapshot.label(n) = label->text().toStdString();
    }

    ReportModel report = mirovax::BuildReport(snapshot);
    ShowReportInView(m_richEdit, report);
    m_report = std::move(report);
}

void TMainForm::ViewReportButtonClick()
{
    Guarded([this] {
        BuildReport();
        m_reportBox->show();
        m_reportBox->raise();
        m_saveReport1->setEnabled(true);
        m_printReport->setEnabled(true);
        m_toolButton5->setEnabled(true);
    });
}

void TMainForm::SaveReport1Click()
{
    // Only the report on show is saved (the command is enabled with it).
    if (!m_report)
        return;
    Guarded([this] {
        FileDialogSpec spec = kReportSaveDialog;
        spec.fileName = m_reportFileName;
        // The report is written over an existing file without asking.
        spec.confirmOverwrite = false;
        const FileChoice choice = m_dialogs.saveFile(this, spec);
        if (!choice.accepted())
            return;
        m_reportFileName = SaveReport(*m_report, choice.path, choice.filterIndex, TablesInUse());
    });
}

void TMainForm::PrintReportClick()
{
    if (!m_report)
        return;
    Guarded([this] {
        if (!m_printer)
            m_printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        if (!m_dialogs.choosePrinter(this, *m_printer))
            return;
        PrintReport(m_richEdit, *m_printer);
    });
}

} // namespace mirovax

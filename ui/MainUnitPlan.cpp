// Flight plans from other planners: File > Open Flight Plan, and files
// dropped onto the window (a setup file opens as Load Setup opens it).
#include "ui/MainUnit.h"

#include "flightplan/flight_plan.h"
#include "ui/Controls.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

namespace mirovax {

const FileDialogSpec kFlightPlanOpenDialog{QStringLiteral("FlightPlanOpenDialog"),
    QStringLiteral("Flight Plans|*.lnmpln;*.pln;*.fms;*.fpl;*.xml|All Files|*")};

namespace {

// The one local file a drag carries, or an empty path.
QString DraggedFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

void TMainForm::OpenFlightPlan1Click()
{
    if (m_running)
        return;
    const FileChoice choice = m_dialogs.openFile(this, kFlightPlanOpenDialog);
    if (choice.accepted())
        OpenFlightPlan(choice.path);
}

void TMainForm::OpenFlightPlan(const QString& path)
{
    if (m_running)
        return;
    Guarded([this, &path] {
        // Read whole before anything changes: a plan that cannot be read
        // leaves every field as it was.
        const FlightPlan plan = ReadFlightPlan(FilePath(path).string());
        const TUpdateBatch batch(*this);
        TTable* airports = m_airportTable->Active() ? m_airportTable.get() : nullptr;
        const PlanOutcome outcome = m_session.OpenPlan(path.toStdString(), plan, airports);
        // Shown as typed: each field that changes counts as an edit.
        for (const Field field : outcome.changed)
            SetEditText(field, Q(m_session.ShownText(field)));
        const OpenedPlan& opened = *m_session.Plan();
        QString status = QStringLiteral("Flight plan: %1  %2 waypoints, route %3 NM (great circle %4 NM)")
                             .arg(path)
                             .arg(plan.waypoints.size())
                             .arg(Q(opened.routeDistance), Q(opened.directDistance));
        for (const std::string& note : plan.notes)
            status += QStringLiteral("  ") + Q(note);
        for (const std::string& message : outcome.messages)
            status += QStringLiteral("  ") + Q(message);
        m_statusBar1->showMessage(status);
        m_statusBar1->setToolTip(status);
        // A new route: the forecast's values for it, the status line its.
        ApplyForecast();
    });
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_running && !DraggedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    const QString path = DraggedFile(event->mimeData());
    if (m_running || path.isEmpty())
        return;
    event->acceptProposedAction();
    OpenDroppedFile(path);
}

void TMainForm::OpenDroppedFile(const QString& path)
{
    if (m_running)
        return;
    if (QFileInfo(path).suffix().compare(QStringLiteral("MRX"), Qt::CaseInsensitive) == 0) {
        // As Load Setup: the offer to save the changed entries first.
        if (!OfferToSaveChanges())
            return;
        m_dialogs.keepFileName(kSetupOpenDialog, path);
        OpenSetup(path);
        return;
    }
    // A forecast is told by its first bytes, whatever its name.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.read(4) == "GRIB") {
        file.close();
        LoadForecast(path);
        return;
    }
    OpenFlightPlan(path);
}

} // namespace mirovax

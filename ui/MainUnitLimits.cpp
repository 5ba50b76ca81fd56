// The main window's side of the limits window and the dispatch sheet: what
// a run leaves for them, and the commands that open them.
#include "ui/MainUnit.h"

#include "ui/Controls.h"
#include "ui/DispatchSheetDialog.h"
#include "ui/LimitsForm.h"

#include <QAction>
#include <QComboBox>
#include <QScreen>
#include <QToolButton>

namespace mirovax {

void TMainForm::RecordRun()
{
    // A run that could not read its entries leaves nothing to show; a limit
    // stop does: which limit stopped it and by how much.
    const TMissionData& md = m_session.Record();
    if (md.ConversionError != 0)
        return;
    DispatchSheetInput run;
    run.runTime = m_runTime;
    run.programTitle = windowTitle().toStdString();
    run.modeText = ModeText().toStdString();
    run.regulationText = m_session.RegulationsText();
    run.fields = m_session.EntryFields();
    run.md = md;
    run.valid = md.CalculationValid;
    run.warnings = m_runWarnings;
    // The notes of the last setup load on its allowable weights hold while
    // MATOW and MALW are what the load put there.
    const std::vector<std::string>& notes = m_session.AllowableWeightNotes();
    run.warnings.insert(run.warnings.end(), notes.begin(), notes.end());
    m_lastRun = std::move(run);
    m_lastRunLimits.reset();
    m_lastRunOutOfDate = false;
    m_dispatchSheet1->setEnabled(true);
    UpdateLimits();
}

void TMainForm::ForgetRun()
{
    m_lastRun.reset();
    m_lastRunLimits.reset();
    m_lastRunOutOfDate = false;
    if (m_dispatchSheet1)
        m_dispatchSheet1->setEnabled(false);
    UpdateLimits();
}

void TMainForm::RunOutOfDate()
{
    if (!m_lastRun || m_lastRunOutOfDate)
        return;
    // A sheet to sign must match the entries on show.
    m_lastRunOutOfDate = true;
    m_dispatchSheet1->setEnabled(false);
    if (m_limitsForm)
        m_limitsForm->SetOutOfDate(true);
}

const MissionLimits& TMainForm::LastRunLimits()
{
    if (!m_lastRunLimits)
        m_lastRunLimits = ComputeMissionLimits(m_lastRun->md, m_lastRun->modeText, m_lastRun->valid);
    return *m_lastRunLimits;
}

void TMainForm::UpdateLimits()
{
    if (!m_limitsForm || !m_limitsForm->isVisible())
        return;
    if (m_batchDepth > 0) {
        m_limitsStale = true;
        return;
    }
    ++m_followerUpdates.limits;
    if (!m_lastRun) {
        const std::optional<QString> missing = NoAirplaneMessage(QStringLiteral("No limits can be shown"));
        m_limitsForm->ShowMessage(
            missing ? *missing : QStringLiteral("No results: press Execute in the main window."));
        return;
    }
    // The searches behind the extras run on copies of the record; a fault
    // there is told in the window rather than in a box over the results.
    try {
        const MissionLimits& limits = LastRunLimits();
        QString stopNote;
        if (!m_lastRun->valid && !m_lastRun->warnings.empty())
            stopNote = QStringLiteral("The run was stopped: ") + Q(m_lastRun->warnings.back());
        m_limitsForm->ShowLimits(
            limits, Q(m_lastRun->modeText) + QStringLiteral(", ") + Q(m_lastRun->md.Type), stopNote);
        m_limitsForm->SetOutOfDate(m_lastRunOutOfDate);
    } catch (const std::exception& e) {
        m_limitsForm->ShowMessage(QStringLiteral("The limits of this run cannot be shown: ") + Q(e.what()));
    }
}

void TMainForm::Limits1Click()
{
    // As the diagram: nothing while a search owns the record.
    if (m_running)
        return;
    if (!m_limitsForm) {
        m_limitsForm = new TLimitsForm(this);
        m_limitsForm->setAttribute(Qt::WA_QuitOnClose, false);
        // First beside the main window, where it hides none of the results:
        // to the right where there is room, else to the left.
        if (const QScreen* screen = this->screen()) {
            const QRect main = frameGeometry();
            const QSize size = m_limitsForm->frameGeometry().size();
            for (const QPoint& at :
                {main.topRight() + QPoint(8, 0), main.topLeft() - QPoint(size.width() + 8, 0)}) {
                if (screen->availableGeometry().contains(QRect(at, size))) {
                    m_limitsForm->move(at);
                    break;
                }
            }
        }
    }
    ShowFollower(m_limitsForm);
    UpdateLimits();
}

void TMainForm::DispatchSheet1Click()
{
    if (m_running)
        return;
    if (const std::optional<QString> missing = NoAirplaneMessage(QStringLiteral("No sheet can be made"))) {
        ShowEntryMessage(m_dialogs, this, *missing);
        return;
    }
    if (!m_dispatchSheet1->isEnabled() || !m_lastRun)
        return;
    Guarded([this] {
        if (!m_dispatchSheetDialog)
            m_dispatchSheetDialog = new TDispatchSheetDialog(m_dialogs, TablesInUse(), this);
        DispatchSheetInput run = *m_lastRun;
        run.limits = LastRunLimits();
        m_dispatchSheetDialog->SetRun(run);
        // Modal to the main window, which cannot change the run under it,
        // without holding up the caller.
        m_dispatchSheetDialog->open();
    });
}

} // namespace mirovax

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
    // A run that could not read its entries leaves nothing to show.
    if (!m_session.LastRun())
        return;
    m_dispatchSheet1->setEnabled(true);
    UpdateLimits();
}

void TMainForm::ForgetRun()
{
    m_session.ForgetRun();
    if (m_dispatchSheet1)
        m_dispatchSheet1->setEnabled(false);
    UpdateLimits();
}

void TMainForm::RunOutOfDate()
{
    // A sheet to sign must match the entries on show.
    if (!m_session.MarkRunOutOfDate())
        return;
    m_dispatchSheet1->setEnabled(false);
    if (m_limitsForm)
        m_limitsForm->SetOutOfDate(true);
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
    const std::optional<MissionRun>& run = m_session.LastRun();
    if (!run) {
        const std::optional<QString> missing = NoAirplaneMessage(QStringLiteral("No limits can be shown"));
        m_limitsForm->ShowMessage(
            missing ? *missing : QStringLiteral("No results: press Execute in the main window."));
        return;
    }
    // The searches behind the extras run on copies of the record; a fault
    // there is told in the window rather than in a box over the results.
    try {
        const MissionLimits& limits = m_session.LastRunLimits();
        QString stopNote;
        if (!run->valid && !run->warnings.empty())
            stopNote = QStringLiteral("The run was stopped: ") + Q(run->warnings.back());
        m_limitsForm->ShowLimits(
            limits, Q(run->modeText) + QStringLiteral(", ") + Q(run->md.Type), stopNote, m_session.Units());
        m_limitsForm->SetOutOfDate(run->outOfDate);
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
    // Only a run that still matches the entries (the command is enabled
    // with it).
    if (!m_session.LastRun() || m_session.LastRun()->outOfDate)
        return;
    Guarded([this] {
        if (!m_dispatchSheetDialog)
            m_dispatchSheetDialog = new TDispatchSheetDialog(m_dialogs, TablesInUse(), this);
        m_dispatchSheetDialog->SetRun(m_session.SheetInput(windowTitle().toStdString()));
        // Modal to the main window, which cannot change the run under it,
        // without holding up the caller.
        m_dispatchSheetDialog->open();
    });
}

} // namespace mirovax

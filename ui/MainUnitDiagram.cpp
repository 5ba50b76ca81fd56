// The main window's side of the payload-range diagram: the command that
// opens the diagram window, whose dialogs are the main window's own, and
// keeping it in step with the airplane and the entries.
#include "ui/MainUnit.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>

namespace mirovax {

void TMainForm::PayloadRange1Click()
{
    // During a Maximum Range search the record belongs to the search; the
    // run's input filter keeps the menu and the tool bar away, and a
    // command that comes by another way does nothing either.
    if (m_running)
        return;
    Guarded([this] {
        if (!m_payloadRangeForm) {
            m_payloadRangeForm = new TPayloadRangeForm(m_dialogs, this);
            m_payloadRangeForm->setAttribute(Qt::WA_QuitOnClose, false);
        }
        ShowFollower(m_payloadRangeForm);
        UpdatePayloadRange();
    });
}

void TMainForm::UpdatePayloadRange()
{
    if (!m_payloadRangeForm || !m_payloadRangeForm->isVisible())
        return;
    ++m_followerUpdates.diagram;
    // The window refuses unusable entries and undrawable data itself; only
    // what it cannot foresee reaches the general error handler.
    Guarded([this] {
        if (const std::optional<QString> missing
            = NoAirplaneMessage(QStringLiteral("The diagram cannot be drawn"))) {
            m_payloadRangeForm->ShowUnusable(*missing);
            return;
        }
        m_payloadRangeForm->SetInputs(m_session.Diagram());
    });
}

} // namespace mirovax

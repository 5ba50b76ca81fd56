// The main window's side of the compare window, and the one update per user
// action of every window that follows the main window.
#include "ui/MainUnit.h"

#include "ui/CompareForm.h"
#include "ui/Controls.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <utility>

namespace mirovax {

TMainForm::TUpdateBatch::TUpdateBatch(TMainForm& form)
    : m_form(form)
{
    ++m_form.m_batchDepth;
}

TMainForm::TUpdateBatch::~TUpdateBatch()
{
    if (--m_form.m_batchDepth == 0)
        m_form.FlushFollowers();
}

void TMainForm::EntriesChanged()
{
    m_diagramStale = true;
    m_compareStale = true;
    if (m_batchDepth == 0)
        FlushFollowers();
}

void TMainForm::ModeChanged()
{
    m_compareStale = true;
    if (m_batchDepth == 0)
        FlushFollowers();
}

void TMainForm::FlushFollowers()
{
    // Each flag is cleared before its window is updated, so that an update
    // that itself changes something is not lost.
    if (std::exchange(m_diagramStale, false))
        UpdatePayloadRange();
    if (std::exchange(m_compareStale, false))
        UpdateCompare();
    if (std::exchange(m_limitsStale, false))
        UpdateLimits();
}

void TMainForm::Compare1Click()
{
    // As the diagram: nothing while a search owns the record.
    if (m_running)
        return;
    Guarded([this] {
        if (!m_compareForm) {
            m_compareForm = new TCompareForm(this);
            m_compareForm->setAttribute(Qt::WA_QuitOnClose, false);
            connect(m_compareForm, &TCompareForm::UseRegulation, this,
                [this](int index) { UseCompareCase(true, index); });
            connect(m_compareForm, &TCompareForm::UseLevel, this,
                [this](int index) { UseCompareCase(false, index); });
            // First below the main window where there is room: the tables
            // are wide.
            if (const QScreen* screen = this->screen()) {
                const QRect main = frameGeometry();
                const QRect wanted(main.bottomLeft() + QPoint(0, 8), m_compareForm->frameGeometry().size());
                if (screen->availableGeometry().contains(wanted))
                    m_compareForm->move(wanted.topLeft());
            }
        }
        ShowFollower(m_compareForm);
        UpdateCompare();
    });
}

void TMainForm::UpdateCompare()
{
    if (!m_compareForm || !m_compareForm->isVisible())
        return;
    ++m_followerUpdates.compare;
    Guarded([this] {
        if (const std::optional<QString> missing
            = NoAirplaneMessage(QStringLiteral("Nothing can be compared"))) {
            m_compareForm->ShowMessage(*missing);
            return;
        }
        const std::string mode = ModeText().toStdString();
        const CompareTables tables = m_session.Compare(mode);
        m_compareForm->ShowTables(tables, Q(mode) + QStringLiteral(", ") + Q(m_session.Record().Type));
    });
}

void TMainForm::UseCompareCase(bool regulation, int index)
{
    if (m_running || !m_compareForm)
        return;
    const CompareTables& tables = m_compareForm->Tables();
    const std::vector<CompareCase>& cases = regulation ? tables.regulations : tables.levels;
    if (index < 0 || static_cast<size_t>(index) >= cases.size())
        return;
    // Read before the first field changes: the tables follow the entries.
    const QString label = Q(cases[static_cast<size_t>(index)].label);
    const TUpdateBatch batch(*this);
    if (regulation) {
        // As if the name were typed into the selector: its preset fills the
        // holding time and the contingency.
        m_regulationSelector->setEditText(label);
        RegulationSelectorChange();
    } else {
        // As if the level were typed and the field left: the exit check
        // sets the temperature.
        SetEditText(Field::FlightLevel, label);
        LeaveField(Field::FlightLevel);
    }
}

void TMainForm::ShowFollower(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

std::optional<QString> TMainForm::NoAirplaneMessage(const QString& lead) const
{
    // Without the airplane table no airplane was ever loaded: the record
    // holds zeros, which nothing can be computed from.
    if (!m_session.HasAirplane())
        return lead
            + QStringLiteral(": no airplane is loaded (the airplane table \"%1\" was not found in %2).")
                  .arg(QString::fromLatin1(kAirplaneTableName), m_programDir);
    if (!m_session.AirplaneReady())
        return Q(UnlistedAirplaneMessage(m_session.AirplaneText()));
    return std::nullopt;
}

} // namespace mirovax

// The main window's calculation run: Execute, Abort, and the results panel
// that a run fills and a change of the entries greys.
#include "ui/MainUnitRun.h"

#include "form/input_rules.h"
#include "ui/Controls.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace mirovax {

TMainForm::TRunServices::TRunServices(TMainForm& form)
    : m_form(form)
{ }

void TMainForm::TRunServices::ReportLimit(const std::string& message)
{
    ShowEntryMessage(m_form.m_dialogs, &m_form, Q(message));
}

void TMainForm::TRunServices::YieldEvents()
{
    // Only input handled here meets the run's input filter; a limit box or
    // the fault box of the same run must stay usable.
    struct Yielding {
        bool& flag;
        explicit Yielding(bool& f)
            : flag(f)
        {
            flag = true;
        }
        ~Yielding() { flag = false; }
    } yielding(m_form.m_yielding);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

TMainForm::TRunInputFilter::TRunInputFilter(TMainForm& form)
    : m_form(form)
{ }

bool TMainForm::TRunInputFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_form.m_yielding)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            // Esc may arrive as a shortcut check only, or as the key.
            m_form.AbortButtonClick();
            return true;
        }
        return watched != m_form.m_abortButton;
    }
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return watched != m_form.m_abortButton;
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

QString TMainForm::ModeText() const
{
    return m_modeSelector->currentText();
}

void TMainForm::ExecuteButtonClick()
{
    // A click that reached here during a search (by a path the input filter
    // does not cover) must not start a second run on the same record.
    if (m_running)
        return;
    // The selector must name the airplane the record holds; otherwise the
    // run is refused and nothing changes.
    if (const std::optional<QString> missing = NoAirplaneMessage(QStringLiteral("Nothing can be computed"))) {
        ShowEntryMessage(m_dialogs, this, *missing);
        return;
    }
    {
        // The run's results, the limits window and the sheet change together:
        // each following window is updated once, when the run has ended.
        const TUpdateBatch batch(*this);
        m_running = true;
        QCoreApplication::instance()->installEventFilter(m_runFilter.get());
        Guarded([this] {
            MissionData().AbortRequested = false;
            ClearResults();
            m_abortButton->setEnabled(true);
            m_viewReportButton->setEnabled(false);
            const std::string mode = ModeText().toStdString();
            if (!FindModeRule(mode)) {
                ShowEntryMessage(m_dialogs, this, Q(UnknownModeMessage(mode)));
            } else {
                if (m_session.Run(mode, *m_services)) {
                    ShowResults();
                    m_resultsShown = true;
                    m_viewReportButton->setEnabled(true);
                }
                RecordRun();
            }
        });
        // Every run ends here, an arithmetic fault included.
        m_abortButton->setEnabled(false);
        QCoreApplication::instance()->removeEventFilter(m_runFilter.get());
        m_running = false;
    }
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        close();
    }
}

void TMainForm::AbortButtonClick()
{
    MissionData().AbortRequested = true;
}

void TMainForm::ShowResults()
{
    const std::string mode = ModeText().toStdString();
    const ResultTexts texts = m_session.Results(mode);
    // The maximum found has its row only in the maximum modes.
    const std::optional<ModeRule> rule = FindModeRule(mode);
    const bool maximumRowsShown = rule && rule->maximumRowsShown;
    for (int n = 12; n <= 30; ++n) {
        if (n == 13 && !maximumRowsShown)
            continue;
        NumberedLabel(n)->setText(Q(texts.label(n)));
    }
}

void TMainForm::ClearResults()
{
    m_resultsShown = false;
    if (m_resultsOutOfDate)
        SetResultsOutOfDate(false);
    for (int n = 12; n <= 30; ++n) {
        if (QLabel* label = NumberedLabel(n))
            label->setText(QString());
    }
    ForgetRun();
}

void TMainForm::SetResultsOutOfDate(bool outOfDate)
{
    m_resultsOutOfDate = outOfDate;
    for (int n = 12; n <= 30; ++n)
        NumberedLabel(n)->setEnabled(!outOfDate);
    m_outOfDateNote->setVisible(outOfDate);
}

} // namespace mirovax

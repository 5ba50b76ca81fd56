// The main window's key filters and the checks made on leaving a field.
#include "ui/MainUnit.h"

#include "ui/Controls.h"
#include "ui/MainUnitInput.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTimer>

#include <optional>

namespace mirovax {

namespace {

// The character a key press types, as a field's key handler sees it, or
// nothing for keys that move, delete or leave without typing (arrows, Delete,
// Tab, Esc, Shift+Insert and the other editing combinations). Ctrl with a
// letter types the control character of that letter: Ctrl+V is 22.
std::optional<char32_t> TypedCharacter(const QKeyEvent& event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool control = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    if (key == Qt::Key_Backspace)
        return control ? U'\x7f' : U'\b';
    if (control) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return static_cast<char32_t>(key - Qt::Key_A + 1);
        if (key >= Qt::Key_BracketLeft && key <= Qt::Key_BracketRight)
            return static_cast<char32_t>(key - Qt::Key_BracketLeft + 27);
        return std::nullopt;
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return U'\r';
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    const QList<uint> text = event.text().toUcs4();
    if (text.isEmpty())
        return std::nullopt;
    return static_cast<char32_t>(text.front());
}

} // namespace

TMainForm::TKeyFilter::TKeyFilter(TMainForm& form)
    : m_form(form)
{ }

void TMainForm::TKeyFilter::watch(QWidget* edit, Field field)
{
    m_fields.emplace_back(edit, field);
    edit->installEventFilter(this);
}

bool TMainForm::TKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        m_lastFocusOutReason = static_cast<QFocusEvent*>(event)->reason();
        return false;
    }
    std::optional<Field> field;
    for (const auto& [edit, f] : m_fields) {
        if (edit == watched)
            field = f;
    }
    if (!field)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const std::optional<char32_t> typed = TypedCharacter(*static_cast<QKeyEvent*>(event));
        if (!typed)
            return false;
        char32_t key = *typed;
        m_form.FilterKey(*field, key);
        return key == 0;
    }
    if (event->type() == QEvent::InputMethod) {
        // Characters composed by an input method are typed too.
        const auto* im = static_cast<QInputMethodEvent*>(event);
        for (uint c : im->commitString().toUcs4()) {
            char32_t key = static_cast<char32_t>(c);
            m_form.FilterKey(*field, key);
            if (key == 0)
                return true;
        }
    }
    return false;
}

TMainForm::TPressEater::TPressEater(TMainForm& form)
    : m_form(form)
{ }

TMainForm::TPressEater::~TPressEater()
{
    disarm();
}

void TMainForm::TPressEater::arm()
{
    if (m_armed)
        return;
    m_armed = true;
    QCoreApplication::instance()->installEventFilter(this);
    QTimer::singleShot(0, this, [this] { disarm(); });
}

void TMainForm::TPressEater::disarm()
{
    if (!m_armed)
        return;
    m_armed = false;
    QCoreApplication::instance()->removeEventFilter(this);
}

bool TMainForm::TPressEater::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_form)
        return false;
    disarm();
    return true;
}

void TMainForm::ConnectInputHandlers()
{
    m_keyFilter = std::make_unique<TKeyFilter>(*this);
    m_pressEater = std::make_unique<TPressEater>(*this);
    // The fields that take only some characters.
    for (const FieldSpec& spec : Fields()) {
        if (spec.keys != KeyFilter::Any)
            m_keyFilter->watch(Edit(spec.field), spec.field);
    }
    // The filter object, not the window, carries the connection: it goes
    // before the window's controls do, so no focus change met while they are
    // destroyed reaches a half-destroyed window.
    connect(qApp, &QApplication::focusChanged, m_keyFilter.get(),
        [this](QWidget* old, QWidget* now) { FocusChanged(old, now); });
}

// An exit check runs when the focus moves from its field to another control
// of this window. A message box, a dialog or another window taking the focus
// is no exit, nor is the window losing the focus, and putting the focus back
// after a check leaves the control it had moved to without a check of its own.
void TMainForm::FocusChanged(QWidget* old, QWidget* now)
{
    if (m_puttingFocusBack || !old || !now || now->window() != this || old->window() != this)
        return;
    // Leaving From, To or Distance matters only with a forecast: its route
    // changed.
    for (const Field field : {Field::FlightLevel, Field::HoldingAltitude, Field::Matow, Field::Malw,
             Field::From, Field::To, Field::Distance}) {
        if (old == Edit(field)) {
            if (m_session.CurrentForecast() == nullptr
                && (field == Field::From || field == Field::To || field == Field::Distance))
                return;
            const bool byMouse = m_keyFilter->lastFocusOutReason() == Qt::MouseFocusReason;
            LeaveField(field);
            // The window's own focus child: after a real message box the
            // window may not be active again yet.
            if (byMouse && focusWidget() == Edit(field))
                m_pressEater->arm();
            return;
        }
    }
}

void TMainForm::ApplyExitOutcome(Field field, const ExitOutcome& outcome)
{
    if (!outcome.message.empty())
        ShowEntryMessage(m_dialogs, this, Q(outcome.message));
    if (outcome.replacement) {
        // The session holds the replacement; the field shows it in the unit.
        ShowFields({field});
        m_puttingFocusBack = true;
        Edit(field)->setFocus(Qt::OtherFocusReason);
        m_puttingFocusBack = false;
    }
}

void TMainForm::LeaveField(Field field)
{
    // The level and its temperature are one change.
    const TUpdateBatch batch(*this);
    Guarded([this, field] {
        const ExitOutcome outcome = m_session.LeaveField(field);
        ApplyExitOutcome(field, outcome);
        if (outcome.oatText)
            ShowFields({Field::Oat});
        if (outcome.windText)
            ShowFields({Field::Wind});
        if (m_session.CurrentForecast() != nullptr
            && (field == Field::FlightLevel || field == Field::From || field == Field::To
                || field == Field::Distance)) {
            EntriesChanged();
            ShowForecastStatus(outcome.note.empty() ? std::vector<std::string>() : std::vector{outcome.note});
        }
    });
}

void TMainForm::FilterKey(Field field, char32_t& key)
{
    if (!KeyAccepted(field, key))
        key = 0;
}

} // namespace mirovax

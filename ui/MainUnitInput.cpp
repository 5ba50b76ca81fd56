// The main window's key filters and the checks made on leaving a field.
#include "ui/MainUnit.h"

#include "ui/Controls.h"
#include "ui/MainUnitInput.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTimer>

#include <limits>
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

void TMainForm::TKeyFilter::watch(QWidget* field, KeyHandler handler)
{
    m_handlers.emplace_back(field, handler);
    field->installEventFilter(this);
}

bool TMainForm::TKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        m_lastFocusOutReason = static_cast<QFocusEvent*>(event)->reason();
        return false;
    }
    KeyHandler handler = nullptr;
    for (const auto& [field, h] : m_handlers) {
        if (field == watched)
            handler = h;
    }
    if (!handler)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const std::optional<char32_t> typed = TypedCharacter(*static_cast<QKeyEvent*>(event));
        if (!typed)
            return false;
        char32_t key = *typed;
        (m_form.*handler)(key);
        return key == 0;
    }
    if (event->type() == QEvent::InputMethod) {
        // Characters composed by an input method are typed too.
        const auto* im = static_cast<QInputMethodEvent*>(event);
        for (uint c : im->commitString().toUcs4()) {
            char32_t key = static_cast<char32_t>(c);
            (m_form.*handler)(key);
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
    const std::pair<int, TKeyFilter::KeyHandler> filters[] = {
        {3, &TMainForm::Edit3KeyPress},
        {4, &TMainForm::Edit4KeyPress},
        {5, &TMainForm::Edit5KeyPress},
        {6, &TMainForm::Edit6KeyPress},
        {7, &TMainForm::Edit7KeyPress},
        {9, &TMainForm::Edit9KeyPress},
        {10, &TMainForm::Edit10KeyPress},
        {11, &TMainForm::Edit11KeyPress},
        {12, &TMainForm::Edit12KeyPress},
        {13, &TMainForm::Edit13KeyPress},
        {14, &TMainForm::Edit14KeyPress},
        {15, &TMainForm::Edit15KeyPress},
    };
    for (const auto& [n, handler] : filters)
        m_keyFilter->watch(Edit(n), handler);
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
    const std::pair<int, void (TMainForm::*)()> checks[] = {
        {5, &TMainForm::Edit5Exit},
        {12, &TMainForm::Edit12Exit},
        {14, &TMainForm::Edit14Exit},
        {15, &TMainForm::Edit15Exit},
    };
    for (const auto& [n, check] : checks) {
        if (old == Edit(n)) {
            const bool byMouse = m_keyFilter->lastFocusOutReason() == Qt::MouseFocusReason;
            (this->*check)();
            // The window's own focus child: after a real message box the
            // window may not be active again yet.
            if (byMouse && focusWidget() == Edit(n))
                m_pressEater->arm();
            return;
        }
    }
}

void TMainForm::ApplyExitOutcome(int n, const ExitOutcome& outcome)
{
    if (!outcome.message.empty())
        ShowEntryMessage(m_dialogs, this, Q(outcome.message));
    if (outcome.replacement) {
        SetEditText(n, Q(*outcome.replacement));
        m_puttingFocusBack = true;
        Edit(n)->setFocus(Qt::OtherFocusReason);
        m_puttingFocusBack = false;
    }
}

void TMainForm::Edit5Exit()
{
    // The level and its temperature are one change.
    const TUpdateBatch batch(*this);
    Guarded([this] {
        // Under a type the table lacks there is no maximum altitude to cap
        // at; the temperature still follows the level.
        const double maxAltFt
            = SelectorNamesLoadedAirplane() ? m_md.MaxAlt : std::numeric_limits<double>::infinity();
        const ExitOutcome outcome = FlightLevelExit(Edit(5)->text().toStdString(), maxAltFt);
        ApplyExitOutcome(5, outcome);
        if (outcome.oatText)
            SetEditText(6, Q(*outcome.oatText));
    });
}

void TMainForm::Edit12Exit()
{
    Guarded([this] { ApplyExitOutcome(12, HoldingAltitudeExit(Edit(12)->text().toStdString())); });
}

void TMainForm::Edit14Exit()
{
    if (!SelectorNamesLoadedAirplane())
        return;
    Guarded([this] {
        ApplyExitOutcome(14, AllowableWeightExit(Edit(14)->text().toStdString(), m_md.MTOW, true));
    });
}

void TMainForm::Edit15Exit()
{
    if (!SelectorNamesLoadedAirplane())
        return;
    Guarded([this] {
        ApplyExitOutcome(15, AllowableWeightExit(Edit(15)->text().toStdString(), m_md.MLAW, false));
    });
}

void TMainForm::FilterKey(int n, char32_t& key)
{
    if (!KeyAccepted(n, key))
        key = 0;
}

// The key handlers, one a field, all with the one filter.
void TMainForm::Edit3KeyPress(char32_t& key)
{
    FilterKey(3, key);
}
void TMainForm::Edit4KeyPress(char32_t& key)
{
    FilterKey(4, key);
}
void TMainForm::Edit5KeyPress(char32_t& key)
{
    FilterKey(5, key);
}
void TMainForm::Edit6KeyPress(char32_t& key)
{
    FilterKey(6, key);
}
void TMainForm::Edit7KeyPress(char32_t& key)
{
    FilterKey(7, key);
}
void TMainForm::Edit9KeyPress(char32_t& key)
{
    FilterKey(9, key);
}
void TMainForm::Edit10KeyPress(char32_t& key)
{
    FilterKey(10, key);
}
void TMainForm::Edit11KeyPress(char32_t& key)
{
    FilterKey(11, key);
}
void TMainForm::Edit12KeyPress(char32_t& key)
{
    FilterKey(12, key);
}
void TMainForm::Edit13KeyPress(char32_t& key)
{
    FilterKey(13, key);
}
void TMainForm::Edit14KeyPress(char32_t& key)
{
    FilterKey(14, key);
}
void TMainForm::Edit15KeyPress(char32_t& key)
{
    FilterKey(15, key);
}

} // namespace mirovax

#include "ui/Controls.h"

#include <QFile>
#include <QPainter>

#include <algorithm>

namespace mirovax {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path FilePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString NumberedName(const char* prefix, int n)
{
    return QString::fromLatin1(prefix) + QString::number(n);
}

TEditValidator::TEditValidator(QObject* parent)
    : QValidator(parent)
{ }

QValidator::State TEditValidator::validate(QString& input, int& pos) const
{
    if (m_upperCase)
        input = input.toUpper();
    // What the user types or pastes is cut to what still fits: the cursor
    // stands behind the inserted characters, so the excess is the run just
    // before it. A text already longer than the limit (set by the program)
    // may be shortened but not lengthened.
    const qsizetype allowed = std::max<qsizetype>(m_charLimit, m_previousLength);
    if (m_userEdit && input.size() > allowed) {
        const qsizetype excess = input.size() - allowed;
        const qsizetype from = std::max<qsizetype>(0, pos - excess);
        input.remove(from, excess);
        pos = static_cast<int>(from);
    }
    return Acceptable;
}

void TEditValidator::beginUserEdit(qsizetype previousLength)
{
    m_userEdit = true;
    m_previousLength = previousLength;
}

void TEditValidator::endUserEdit()
{
    m_userEdit = false;
}

namespace {

// Runs one of QLineEdit's handlers as a user edit of the field.
template <class Handler> void AsUserEdit(TEditValidator* validator, qsizetype length, Handler&& handler)
{
    validator->beginUserEdit(length);
    handler();
    validator->endUserEdit();
}

} // namespace

TEdit::TEdit(QWidget* parent)
    : QLineEdit(parent)
    , m_validator(new TEditValidator(this))
{
    setValidator(m_validator);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text == m_reportedText)
            return;
        m_reportedText = text;
        emit contentChanged(text);
    });
}

void TEdit::keyPressEvent(QKeyEvent* event)
{
    AsUserEdit(m_validator, text().size(), [&] { QLineEdit::keyPressEvent(event); });
}

void TEdit::inputMethodEvent(QInputMethodEvent* event)
{
    AsUserEdit(m_validator, text().size(), [&] { QLineEdit::inputMethodEvent(event); });
}

void TEdit::contextMenuEvent(QContextMenuEvent* event)
{
    AsUserEdit(m_validator, text().size(), [&] { QLineEdit::contextMenuEvent(event); });
}

void TEdit::dropEvent(QDropEvent* event)
{
    AsUserEdit(m_validator, text().size(), [&] { QLineEdit::dropEvent(event); });
}

void TEdit::mouseReleaseEvent(QMouseEvent* event)
{
    AsUserEdit(m_validator, text().size(), [&] { QLineEdit::mouseReleaseEvent(event); });
}

void TEdit::setCharLimit(int limit)
{
    m_validator->setCharLimit(limit);
}
int TEdit::charLimit() const
{
    return m_validator->charLimit();
}
void TEdit::setUpperCase(bool on)
{
    m_validator->setUpperCase(on);
}
bool TEdit::upperCase() const
{
    return m_validator->upperCase();
}

TGroupBox::TGroupBox(const QString& title, QWidget* parent)
    : QGroupBox(title, parent)
{
    // Opaque, so that a box shown over others (the airplane data, the
    // report) hides what lies beneath it.
    setAutoFillBackground(true);
}

void TGroupBox::paintEvent(QPaintEvent* /*event*/)
{
    QPainter p(this);
    const QFontMetrics fm = fontMetrics();
    const int lineTop = fm.height() / 2;
    // An etched frame: a dark line with a light one inside it.
    const QRect frame = rect().adjusted(0, lineTop, -1, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.adjusted(1, 1, 0, 0));

    const QString caption = title();
    if (caption.isEmpty())
        return;
    const int textWidth = fm.horizontalAdvance(caption);
    const QRect textRect(8, 0, textWidth + 4, fm.height());
    p.fillRect(textRect, palette().color(QPalette::Window));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(textRect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
}

QLabel* MakeLabel(
    QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setFocusPolicy(Qt::NoFocus);
    label->setGeometry(left, top, width, height);
    return label;
}

} // namespace mirovax

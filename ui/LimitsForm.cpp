#include "ui/LimitsForm.h"

#include "engine/text_format.h"
#include "ui/Contrast.h"
#include "ui/Controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

namespace mirovax {

namespace {

const QColor kOkColour(46, 160, 67);
const QColor kNearColour(230, 150, 0);
const QColor kExceededColour(205, 40, 40);
const QColor kOutOfDateColour(165, 165, 165);
const QColor kTrackColour(228, 228, 228);
const QColor kLimitMarkColour(40, 40, 40);

QColor StateColour(MarginState state)
{
    switch (state) {
    case MarginState::Ok:
        return kOkColour;
    case MarginState::Near:
        return kNearColour;
    case MarginState::Exceeded:
        break;
    }
    return kExceededColour;
}

// The margin as a share of its limit, to one decimal; empty for a limit of
// 0 kg, which no share can be given of.
QString Percent(const LimitMargin& m)
{
    if (m.limit <= 0)
        return QString();
    return Q(FormatGeneral(RoundHalfEven(m.margin * 1000 / m.limit) / 10)) + QStringLiteral(" %");
}

QLabel* MakeText(QWidget* parent, const QString& name, const QString& text = QString())
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel* NumberCell(QWidget* parent, const QString& name, const QString& text)
{
    QLabel* label = MakeText(parent, name, text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

// ---------------------------------------------------------------------------
// One gauge

TMarginGauge::TMarginGauge(const LimitMargin& margin, MarginState state, MassUnit unit, QWidget* parent)
    : QWidget(parent)
    , m_margin(margin)
    , m_state(state)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setToolTip(Q(margin.name));
    setAccessibleName(Q(margin.name));
    setAccessibleDescription(QStringLiteral("%1 %4 of %2 %4, margin %3 %4")
                                 .arg(Q(FormatMass(margin.value, unit)), Q(FormatMass(margin.limit, unit)),
                                     Q(FormatMass(margin.margin, unit)), Q(MassUnitText(unit))));
}

QSize TMarginGauge::sizeHint() const
{
    return {200, 16};
}

void TMarginGauge::paintEvent(QPaintEvent* /*event*/)
{
    QPainter p(this);
    const QRectF track = QRectF(rect()).adjusted(1, 3, -3, -3);
    p.setPen(Qt::NoPen);
    p.setBrush(kTrackColour);
    p.drawRect(track);
    // The bar spans the larger of the quantity and the limit, so that an
    // exceeded limit shows how far the quantity runs past its mark.
    const double full = std::max(m_margin.value, m_margin.limit);
    if (full <= 0)
        return;
    const double filled = std::clamp(m_margin.value / full, 0.0, 1.0);
    const double mark = std::clamp(m_margin.limit / full, 0.0, 1.0);
    p.setBrush(isEnabled() ? StateColour(m_state) : kOutOfDateColour);
    p.drawRect(QRectF(track.left(), track.top(), track.width() * filled, track.height()));
    const double x = track.left() + track.width() * mark;
    p.setPen(QPen(kLimitMarkColour, 2));
    p.drawLine(QPointF(x, 0), QPointF(x, height()));
}

// ---------------------------------------------------------------------------
// The window

TLimitsForm::TLimitsForm(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("LimitsForm"));
    setWindowTitle(QStringLiteral("Limits and Margins"));

    m_page = new QWidget(this);
    m_heading = MakeText(m_page, QStringLiteral("HeadingLabel"));
    QFont bold = m_heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    m_heading->setFont(bold);

    m_table = new QWidget(m_page);
    m_rangeNote = MakeText(m_page, QStringLiteral("RangeNote"),
        QStringLiteral("Maximum Range: the fuel and weights are those of the first distance beyond the "
                       "binding limit, so a gauge may run a little past its mark. The range found stays "
                       "within every limit."));
    m_rangeNote->setWordWrap(true);
    m_rangeNote->setFixedWidth(210);
    m_rangeNote->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_rangeNote->setMargin(6);
    m_rangeNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_binding = MakeText(m_page, QStringLiteral("BindingLabel"));
    m_stop = MakeText(m_page, QStringLiteral("StopLabel"));
    m_stop->setWordWrap(true);
    m_extraPayload = MakeText(m_page, QStringLiteral("ExtraPayloadLabel"));
    m_extraFuel = MakeText(m_page, QStringLiteral("ExtraFuelLabel"));
    m_outOfDateNote = MakeText(m_page, QStringLiteral("OutOfDateNote"),
        QStringLiteral("Out of date: the entries changed since the run. Press Execute."));

    m_gaugeRow = new QHBoxLayout;
    m_gaugeRow->addWidget(m_table, 1);
    m_gaugeRow->addWidget(m_rangeNote, 0, Qt::AlignTop);
    auto* page = new QVBoxLayout(m_page);
    page->addWidget(m_heading);
    page->addLayout(m_gaugeRow);
    page->addSpacing(6);
    page->addWidget(m_binding);
    page->addWidget(m_stop);
    page->addWidget(m_extraPayload);
    page->addWidget(m_extraFuel);
    page->addWidget(m_outOfDateNote);
    page->addStretch(1);

    m_message = MakeText(this, QStringLiteral("MessageLabel"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setMargin(24);

    // One of the two shows at a time.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_page);
    layout->addWidget(m_message);
    resize(720, 300);
    ShowMessage(QStringLiteral("No run yet: press Execute in the main window."));
}

QWidget* TLimitsForm::MakeGaugeTable(const MissionLimits& limits, MassUnit unit)
{
    const auto Figure = [unit](double kg) { return Q(FormatMass(kg, unit)); };
    const QString unitText = Q(MassUnitText(unit));
    auto* table = new QWidget(m_page);
    table->setObjectName(QStringLiteral("GaugeTable"));
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    int column = 0;
    for (const QString& caption : {QStringLiteral("Limit"), QString(),
             QStringLiteral("Quantity (%1)").arg(unitText), QStringLiteral("Limit (%1)").arg(unitText),
             QStringLiteral("Margin (%1)").arg(unitText), QStringLiteral("Margin (%)")}) {
        QLabel* header = MakeText(table, QString(), caption);
        header->setAlignment(column < 2 ? Qt::AlignLeft : Qt::AlignRight);
        grid->addWidget(header, 0, column++);
    }
    int row = 1;
    int gridRow = 1;
    for (const LimitMargin& m : limits.limits) {
        // The structural pair tells how much of the structure the mission
        // allows itself; it never binds and stands apart from the checks.
        if (m.name == kMarginStructuralTakeoff) {
            QLabel* caption = MakeText(table, QStringLiteral("StructureCaption"),
                QStringLiteral("The mission's allowable weights against the structure:"));
            grid->addWidget(caption, gridRow++, 0, 1, 6, Qt::AlignBottom);
            grid->setRowMinimumHeight(gridRow - 1, caption->sizeHint().height() + 8);
        }
        const QString n = QString::number(row);
        QLabel* name = MakeText(table, QStringLiteral("GaugeName") + n, Q(m.name));
        if (m.binding) {
            QFont bold = name->font();
            bold.setBold(true);
            name->setFont(bold);
        }
        grid->addWidget(name, gridRow, 0);
        auto* gauge = new TMarginGauge(m, MarginStateOf(m, limits.firstDistanceBeyondLimit), unit, table);
        gauge->setObjectName(QStringLiteral("Gauge") + n);
        grid->addWidget(gauge, gridRow, 1);
        grid->addWidget(NumberCell(table, QStringLiteral("GaugeValue") + n, Figure(m.value)), gridRow, 2);
        grid->addWidget(NumberCell(table, QStringLiteral("GaugeLimit") + n, Figure(m.limit)), gridRow, 3);
        grid->addWidget(NumberCell(table, QStringLiteral("GaugeMargin") + n, Figure(m.margin)), gridRow, 4);
        grid->addWidget(NumberCell(table, QStringLiteral("GaugePercent") + n, Percent(m)), gridRow, 5);
        ++row;
        ++gridRow;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(1, 140);
    return table;
}

void TLimitsForm::ShowLimits(
    const MissionLimits& limits, const QString& heading, const QString& stopNote, MassUnit unit)
{
    m_limits = limits;
    m_heading->setText(heading);
    const auto Figure = [unit](double kg) { return Q(FormatMass(kg, unit)); };
    const QString unitText = Q(MassUnitText(unit));
    QWidget* table = MakeGaugeTable(limits, unit);
    // The layout hands back the old table's item, which is the caller's.
    delete m_gaugeRow->replaceWidget(m_table, table);
    delete m_table;
    m_table = table;

    m_rangeNote->setVisible(limits.firstDistanceBeyondLimit);
    m_binding->setText(QStringLiteral("Binding limit: ")
        + (limits.binding.empty() ? QStringLiteral("none") : Q(limits.binding)));
    m_stop->setVisible(limits.stopped || !stopNote.isEmpty());
    // Red while it is current, a red that reads on the window's background
    // whether that is light or dark; greyed with the rest once out of date.
    QPalette red = m_stop->palette();
    const QColor stopColour = ReadableOn(kExceededColour, palette().color(QPalette::Window));
    red.setColor(QPalette::Active, QPalette::WindowText, stopColour);
    red.setColor(QPalette::Inactive, QPalette::WindowText, stopColour);
    m_stop->setPalette(red);
    if (limits.stopped)
        m_stop->setText(QStringLiteral("The run was stopped by %1, exceeded by %2 %3.")
                            .arg(Q(limits.stoppedBy), Figure(limits.exceededBy), unitText));
    else
        m_stop->setText(stopNote);
    m_extraPayload->setVisible(limits.extraPayload.has_value());
    if (limits.extraPayload)
        m_extraPayload->setText(
            QStringLiteral("Possible extra payload: %1 %2").arg(Figure(*limits.extraPayload), unitText));
    m_extraFuel->setVisible(limits.extraFuel.has_value());
    if (limits.extraFuel)
        m_extraFuel->setText(
            QStringLiteral("Possible extra fuel: %1 %2").arg(Figure(*limits.extraFuel), unitText));
    m_message->hide();
    m_page->show();
    SetOutOfDate(false);
}

void TLimitsForm::ShowMessage(const QString& message)
{
    m_limits = MissionLimits();
    m_message->setText(message);
    m_page->hide();
    m_message->show();
    SetOutOfDate(false);
}

void TLimitsForm::SetOutOfDate(bool outOfDate)
{
    m_outOfDate = outOfDate && LimitsShown();
    m_outOfDateNote->setVisible(m_outOfDate);
    const std::initializer_list<QWidget*> shown
        = {m_heading, m_table, m_rangeNote, m_binding, m_stop, m_extraPayload, m_extraFuel};
    for (QWidget* w : shown)
        w->setEnabled(!m_outOfDate);
}

bool TLimitsForm::LimitsShown() const
{
    return !m_page->isHidden();
}

QString TLimitsForm::Message() const
{
    return LimitsShown() ? QString() : m_message->text();
}

TMarginGauge* TLimitsForm::Gauge(int n) const
{
    return m_table->findChild<TMarginGauge*>(QStringLiteral("Gauge") + QString::number(n));
}

} // namespace mirovax

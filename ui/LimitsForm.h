#pragma once

#include "engine/mission_limits.h"
#include "engine/text_format.h"

#include <QWidget>

class QHBoxLayout;
class QLabel;

namespace mirovax {

// One quantity against its limit, drawn as a bar that fills up to the
// quantity with a mark at the limit: green for a state with room to spare,
// amber near the limit, red above it.
class TMarginGauge : public QWidget {
    Q_OBJECT
public:
    TMarginGauge(const LimitMargin& margin, MarginState state, MassUnit unit, QWidget* parent = nullptr);

    const LimitMargin& Margin() const { return m_margin; }
    MarginState State() const { return m_state; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LimitMargin m_margin;
    MarginState m_state;
};

// The "Limits and Margins" window: after a run, one gauge per limit with its
// margin in kg and %, the binding limit, the limit that stopped the run, and
// in Trip Time and Fuel the payload and fuel that would still fit. It shows
// what the core computed and computes nothing itself.
class TLimitsForm : public QWidget {
    Q_OBJECT
public:
    explicit TLimitsForm(QWidget* parent = nullptr);

    // Shows the limits of a run under a heading (mode and airplane).
    // stopNote tells why a run stopped that no limit of the list stopped
    // (a wind the airplane cannot fly against); empty when none did.
    // The masses in the unit.
    void ShowLimits(const MissionLimits& limits, const QString& heading, const QString& stopNote = QString(),
        MassUnit unit = MassUnit::Kilograms);
    // Replaces the gauges with the message: no run, or none to show.
    void ShowMessage(const QString& message);
    // Greys the gauges and says that the entries changed since the run;
    // the figures stay as they were.
    void SetOutOfDate(bool outOfDate);

    // What is shown, for the main window and tests.
    bool LimitsShown() const;
    bool OutOfDate() const { return m_outOfDate; }
    const MissionLimits& Limits() const { return m_limits; }
    QString Message() const;
    // Gauge n (1-based) in the order of the limits; nullptr past the last.
    TMarginGauge* Gauge(int n) const;

private:
    QWidget* MakeGaugeTable(const MissionLimits& limits, MassUnit unit);

    MissionLimits m_limits;
    bool m_outOfDate = false;
    // The page of a run, or the message in its place.
    QWidget* m_page = nullptr;
    QLabel* m_message = nullptr;
    // The page: heading, the gauge table (rebuilt for every run) with the
    // Maximum Range note beside it, and the lines below.
    QLabel* m_heading = nullptr;
    QHBoxLayout* m_gaugeRow = nullptr;
    QWidget* m_table = nullptr;
    QLabel* m_rangeNote = nullptr;
    QLabel *m_binding = nullptr, *m_stop = nullptr;
    QLabel *m_extraPayload = nullptr, *m_extraFuel = nullptr;
    QLabel* m_outOfDateNote = nullptr;
};

} // namespace mirovax

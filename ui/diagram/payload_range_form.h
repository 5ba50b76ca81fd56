#pragma once

#include "engine/payload_range.h"
#include "form/payload_range_inputs.h"
#include "ui/Dialogs.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class QChart;
class QChartView;
class QAreaSeries;
class QGraphicsSimpleTextItem;
class QLabel;
class QLineSeries;
class QPrinter;
class QScatterSeries;
class QStackedWidget;
class QValueAxis;

namespace mirovax {

// The diagram window's file dialogs.
extern const FileDialogSpec kDiagramPngSaveDialog;
extern const FileDialogSpec kDiagramSvgSaveDialog;

// The "Payload-Range" window: the envelope of the loaded airplane for the
// current entries, its corners named by their binding limits, and the
// current mission as a point inside or outside it. When the diagram cannot be
// drawn a message takes the chart's place. Its file dialogs, print dialog
// and error boxes go through the dialogs it is given.
class TPayloadRangeForm : public QWidget {
    Q_OBJECT
public:
    // Points of the curve (evenly spaced payloads; the corners come on top).
    static constexpr int kPoints = 200;

    explicit TPayloadRangeForm(IDialogs& dialogs, QWidget* parent = nullptr);
    ~TPayloadRangeForm() override;

    // Redraws from a record holding the airplane and the converted entries;
    // the record is copied, never changed. Payload kg, trip distance NM; the
    // masses are shown in the record's unit.
    void SetMission(const TMissionData& airplaneAndInputs, double currentPayload, double currentTripDistance);
    // Redraws from the airplane with the entries read in (SetMission with
    // the payload and trip distance entered), or shows why a field cannot
    // be read.
    void SetInputs(const DiagramMission& mission);
    // Replaces the chart with the message.
    void ShowUnusable(const QString& message);

    // What is shown, for the window and tests.
    bool DiagramShown() const;
    const std::vector<PayloadRangePoint>& Diagram() const { return m_diagram; }
    QString Message() const;
    QString MissionText() const;
    bool MissionInside() const { return m_missionInside; }
    QStringList CornerLabels() const;
    QChart* Chart() const { return m_chart; }

    // Ask for a file name or printer, then write; false when no diagram is
    // shown, cancelled or failed (a failure is reported in an error box).
    bool SavePng();
    bool SaveSvg();
    bool Print();
    // Write the picture (chart and mission line) without asking; a failed
    // save is reported in an error box.
    bool SavePngTo(const QString& path);
    bool SaveSvgTo(const QString& path);
    bool PrintTo(QPrinter& printer);

private:
    void BuildChart();
    void ShowDiagram(const QString& title, double payload, double tripDistance);
    void PlaceCornerLabels();
    void ClearCornerLabels();
    bool SaveAs(
        const FileDialogSpec& spec, const char* suffix, bool (TPayloadRangeForm::*save)(const QString&));
    void SaveFailed(const QString& path, const QString& reason);

    // A payload (kg) as the chart plots it, in the record's unit.
    double Shown(double payloadKg) const { return MassInUnit(payloadKg, m_unit); }

    std::vector<PayloadRangePoint> m_diagram;
    MassUnit m_unit = MassUnit::Kilograms;
    bool m_missionInside = false;
    IDialogs& m_dialogs;

    QStackedWidget* m_stack = nullptr;
    QWidget* m_picture = nullptr; // chart and mission line: what is saved and printed
    QChartView* m_view = nullptr;
    QChart* m_chart = nullptr;
    QLineSeries* m_curve = nullptr;
    QAreaSeries* m_envelope = nullptr;
    QScatterSeries* m_corners = nullptr;
    QScatterSeries* m_mission = nullptr;
    QValueAxis* m_rangeAxis = nullptr;
    QValueAxis* m_payloadAxis = nullptr;
    QLabel* m_missionLabel = nullptr;
    QLabel* m_message = nullptr;
    std::vector<QGraphicsSimpleTextItem*> m_cornerLabels;
};

} // namespace mirovax

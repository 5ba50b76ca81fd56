#pragma once

#include "engine/payload_range.h"
#include "form/calculation_run.h"

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

// The questions the diagram window asks the user. The window plugs in its
// own dialog wrapper; tests answer without a dialog.
class IDiagramDialogs {
public:
    virtual ~IDiagramDialogs() = default;
    // A file name to save to, or an empty string when the user cancels.
    virtual QString AskSavePath(QWidget* parent, const QString& caption, const QString& filter) = 0;
    // Lets the user set up the printer; false when the user cancels.
    virtual bool AskPrinter(QWidget* parent, QPrinter& printer) = 0;
    virtual void ShowError(QWidget* parent, const QString& message) = 0;
};

// The plain Qt dialogs: QFileDialog, QPrintDialog and a warning box.
class TQtDiagramDialogs : public IDiagramDialogs {
public:
    QString AskSavePath(QWidget* parent, const QString& caption, const QString& filter) override;
    bool AskPrinter(QWidget* parent, QPrinter& printer) override;
    void ShowError(QWidget* parent, const QString& message) override;
};

// The "Payload-Range" window: the envelope of the loaded airplane for the
// current entries, its corners named by their binding limits, and the
// current mission as a point inside or outside it. When the diagram cannot be
// drawn a message takes the chart's place.
class TPayloadRangeForm : public QWidget {
    Q_OBJECT
public:
    // Points of the curve (evenly spaced payloads; the corners come on top).
    static constexpr int kPoints = 200;

    explicit TPayloadRangeForm(QWidget* parent = nullptr);
    ~TPayloadRangeForm() override;

    // Redraws from a record holding the airplane and the converted entries;
    // the record is copied, never changed. Payload kg, trip distance NM.
    void SetMission(const TMissionData& airplaneAndInputs, double currentPayload, double currentTripDistance);
    // Redraws from the airplane of md and the entry texts as the window holds
    // them: refuses as a run does, naming the field, or converts the entries
    // and calls SetMission with the payload and trip distance entered.
    void SetInputs(const TMissionData& airplane, const FieldTexts& texts);
    // Replaces the chart with the message.
    void ShowUnusable(const QString& message);

    // Not owned; nullptr restores the plain Qt dialogs.
    void SetDialogs(IDiagramDialogs* dialogs);

    // What is shown, for the window and tests.
    bool DiagramShown() const;
    const std::vector<PayloadRangePoint>& Diagram() const { return m_diagram; }
    QString Message() const;
    QString MissionText() const;
    bool MissionInside() const { return m_missionInside; }
    QStringList CornerLabels() const;
    QChart* Chart() const { return m_chart; }

    // Ask for a file name or printer, then write; false when cancelled or
    // failed (a failure is reported through the dialogs).
    bool SavePng();
    bool SaveSvg();
    bool Print();
    // Write the picture (chart and mission line) without asking.
    bool SavePngTo(const QString& path);
    bool SaveSvgTo(const QString& path);
    bool PrintTo(QPrinter& printer);

private:
    void BuildChart();
    void ShowDiagram(const QString& title, double payload, double tripDistance);
    void PlaceCornerLabels();
    void ClearCornerLabels();

    std::vector<PayloadRangePoint> m_diagram;
    bool m_missionInside = false;
    IDiagramDialogs* m_dialogs = nullptr;
    TQtDiagramDialogs m_qtDialogs;

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

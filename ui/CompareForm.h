#pragma once

#include "form/compare.h"

#include <QWidget>

class QChart;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QStackedWidget;
class QTableWidget;
class QValueAxis;

namespace mirovax {

// The "Compare" window: the entries solved under each regulation preset and
// at each flight level, as tables and as a chart of the mode's key figure
// against the level with the best level marked. Each regulation column and
// level row has a "Use" button that asks the main window to take it over.
// It shows what the core computed and computes nothing itself.
class TCompareForm : public QWidget {
    Q_OBJECT
public:
    explicit TCompareForm(QWidget* parent = nullptr);

    // Shows the tables under a heading (mode and airplane); a refusal in
    // them shows as ShowMessage does.
    void ShowTables(const CompareTables& tables, const QString& heading);
    // Replaces the tables and the chart with the message.
    void ShowMessage(const QString& message);

    // What is shown, for the main window and tests.
    bool TablesShown() const;
    const CompareTables& Tables() const { return m_tables; }
    QString Message() const;
    QTableWidget* RegulationTable() const { return m_regulationTable; }
    QTableWidget* LevelTable() const { return m_levelTable; }
    QChart* Chart() const { return m_chart; }

signals:
    // "Use" of regulation column or level row index (0-based) of Tables().
    void UseRegulation(int index);
    void UseLevel(int index);

private:
    void FillRegulationTable();
    void FillLevelTable();
    void FillChart();

    CompareTables m_tables;
    QLabel* m_levelCaption = nullptr;
    QStackedWidget* m_stack = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_heading = nullptr;
    QTableWidget* m_regulationTable = nullptr;
    QTableWidget* m_levelTable = nullptr;
    QChart* m_chart = nullptr;
    QLineSeries* m_curve = nullptr;
    QScatterSeries* m_best = nullptr;
    QScatterSeries* m_stopped = nullptr;
    QValueAxis* m_levelAxis = nullptr;
    QValueAxis* m_figureAxis = nullptr;
};

} // namespace mirovax

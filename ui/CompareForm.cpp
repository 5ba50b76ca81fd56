#include "ui/CompareForm.h"

#include "engine/text_format.h"
#include "ui/Controls.h"
#include "ui/accessible/accessible_names.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace mirovax {

namespace {

const QColor kBestBackground(214, 240, 214);
const QColor kStoppedText(170, 30, 30);

// The two figures a case shows in the mode: trip and minimum takeoff fuel,
// or the maximum found and the limit that binds it.
struct FigureRows {
    QString first;
    QString second;
};

FigureRows FigureNames(const CompareTables& tables)
{
    const KeyFigureName key = CompareKeyFigure(tables.modeText, tables.unit);
    const QString first = Q(key.name) + QStringLiteral(" (") + Q(key.unit) + QLatin1Char(')');
    if (tables.modeText == kModeTripTimeAndFuel)
        return {first, QStringLiteral("Min. Takeoff Fuel (%1)").arg(Q(MassUnitText(tables.unit)))};
    return {first, QStringLiteral("Limited by")};
}

// A stopped run's figures belong to no mission that can be flown.
std::pair<QString, QString> Figures(const CompareCase& c, const CompareTables& tables)
{
    if (!c.valid)
        return {QStringLiteral("\u2013"), QStringLiteral("\u2013")};
    if (tables.modeText == kModeTripTimeAndFuel)
        return {Q(FormatMass(c.tripFuel, tables.unit)), Q(FormatMass(c.minTakeoffFuel, tables.unit))};
    return {Q(FormatRounded(ShownKeyFigure(tables, c))), Q(c.limitedBy)};
}

QString Outcome(const CompareCase& c)
{
    return c.valid ? QStringLiteral("valid") : Q(c.message);
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(align);
    return item;
}

QTableWidget* MakeTable(QWidget* parent, const char* name)
{
    auto* table = new QTableWidget(parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(true);
    table->setFocusPolicy(Qt::NoFocus); // no current cell: nothing here is edited
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

QPushButton* UseButton(QWidget* parent, const QString& name)
{
    auto* button = new QPushButton(QStringLiteral("Use"), parent);
    button->setObjectName(name);
    return button;
}

// Every "Use" button reads alike on screen; its row or column tells them
// apart, so a screen reader names it with the case it takes over.
void NameUseButton(QWidget* button, const QString& caseLabel)
{
    const QString hint = QStringLiteral("Enter %1 in the main window").arg(caseLabel);
    button->setToolTip(hint);
    button->setAccessibleName(QStringLiteral("Use ") + caseLabel);
    button->setAccessibleDescription(hint);
}

} // namespace

TCompareForm::TCompareForm(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("CompareForm"));
    setWindowTitle(QStringLiteral("Compare"));
    resize(1060, 700);

    m_stack = new QStackedWidget(this);
    m_message = new QLabel(m_stack);
    m_message->setObjectName(QStringLiteral("CompareMessage"));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setMargin(24);

    auto* page = new QWidget(m_stack);
    auto* pageLayout = new QVBoxLayout(page);
    m_heading = new QLabel(page);
    m_heading->setObjectName(QStringLiteral("CompareHeading"));
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    pageLayout->addWidget(m_heading);

    auto* regulations
        = new QLabel(QStringLiteral("Regulations (holding time and contingency from each):"), page);
    pageLayout->addWidget(regulations);
    m_regulationTable = MakeTable(page, "RegulationTable");
    regulations->setBuddy(m_regulationTable);
    m_regulationTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    pageLayout->addWidget(m_regulationTable);

    auto* levels = new QLabel(QStringLiteral("Flight levels (OAT of the standard atmosphere):"), page);
    m_levelCaption = levels;
    pageLayout->addWidget(levels);
    auto* row = new QHBoxLayout;
    m_levelTable = MakeTable(page, "LevelTable");
    levels->setBuddy(m_levelTable);
    m_levelTable->verticalHeader()->hide();
    row->addWidget(m_levelTable, 5);

    m_chart = new QChart;
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    m_curve = new QLineSeries(m_chart);
    m_curve->setName(QStringLiteral("valid"));
    m_curve->setPointsVisible(true);
    m_best = new QScatterSeries(m_chart);
    m_best->setName(QStringLiteral("best level"));
    m_best->setMarkerSize(14);
    m_best->setColor(QColor(46, 160, 67));
    m_stopped = new QScatterSeries(m_chart);
    m_stopped->setName(QStringLiteral("stopped by a limit"));
    m_stopped->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    m_stopped->setMarkerSize(8);
    m_stopped->setColor(kStoppedText);
    m_levelAxis = new QValueAxis(m_chart);
    m_levelAxis->setTitleText(QStringLiteral("Flight level"));
    m_levelAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_figureAxis = new QValueAxis(m_chart);
    m_figureAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->addAxis(m_levelAxis, Qt::AlignBottom);
    m_chart->addAxis(m_figureAxis, Qt::AlignLeft);
    for (auto* series : {static_cast<QXYSeries*>(m_curve), static_cast<QXYSeries*>(m_best),
             static_cast<QXYSeries*>(m_stopped)}) {
        m_chart->addSeries(series);
        series->attachAxis(m_levelAxis);
        series->attachAxis(m_figureAxis);
    }
    auto* view = new QChartView(m_chart, page);
    view->setObjectName(QStringLiteral("CompareChart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumWidth(360);
    view->setAccessibleName(QStringLiteral("Flight level chart"));
    view->setAccessibleDescription(
        QStringLiteral("The key figure of every flight level, the best one marked"));
    row->addWidget(view, 4);
    pageLayout->addLayout(row, 1);

    m_stack->addWidget(page);
    m_stack->addWidget(m_message);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
    ShowMessage(QString());
    NameControlsForAccessibility(this);
}

void TCompareForm::ShowMessage(const QString& message)
{
    m_tables = CompareTables{};
    m_message->setText(message);
    m_stack->setCurrentWidget(m_message);
}

void TCompareForm::ShowTables(const CompareTables& tables, const QString& heading)
{
    if (tables.refusal) {
        ShowMessage(Q(*tables.refusal));
        return;
    }
    m_tables = tables;
    m_heading->setText(heading);
    FillRegulationTable();
    FillLevelTable();
    FillChart();
    m_stack->setCurrentIndex(0);
}

bool TCompareForm::TablesShown() const
{
    return m_stack->currentIndex() == 0;
}

QString TCompareForm::Message() const
{
    return TablesShown() ? QString() : m_message->text();
}

void TCompareForm::FillRegulationTable()
{
    const FigureRows names = FigureNames(m_tables);
    const QStringList rows = {QStringLiteral("Holding Time (min)"), QStringLiteral("Contingency (%)"),
        names.first, names.second, QStringLiteral("Result"), QString()};
    QTableWidget* t = m_regulationTable;
    t->clear();
    t->setRowCount(static_cast<int>(rows.size()));
    t->setColumnCount(static_cast<int>(m_tables.regulations.size()));
    t->setVerticalHeaderLabels(rows);
    for (int col = 0; col < t->columnCount(); ++col) {
        const CompareCase& c = m_tables.regulations[static_cast<size_t>(col)];
        t->setHorizontalHeaderItem(col, new QTableWidgetItem(Q(c.label)));
        const auto [first, second] = Figures(c, m_tables);
        t->setItem(0, col, Cell(Q(c.texts[Field::HoldingTime])));
        t->setItem(1, col, Cell(Q(c.texts[Field::Contingency])));
        t->setItem(2, col, Cell(first));
        t->setItem(3, col, Cell(second));
        QTableWidgetItem* outcome = Cell(Outcome(c), Qt::AlignCenter);
        if (!c.valid)
            outcome->setForeground(kStoppedText);
        t->setItem(4, col, outcome);
        // The buttons stay from one update to the next: a click updates
        // the window its button lies in.
        if (!t->cellWidget(5, col)) {
            QPushButton* use = UseButton(t, QStringLiteral("UseRegulation%1").arg(col + 1));
            connect(use, &QPushButton::clicked, this, [this, col] { emit UseRegulation(col); });
            t->setCellWidget(5, col, use);
        }
        NameUseButton(t->cellWidget(5, col), Q(c.label));
    }
    t->resizeRowsToContents();
    int height = t->horizontalHeader()->height() + 2 * t->frameWidth();
    for (int r = 0; r < t->rowCount(); ++r)
        height += t->rowHeight(r);
    t->setFixedHeight(height);
}

void TCompareForm::FillLevelTable()
{
    // The level table's last column holds each row's "Use" button.
    constexpr int kUseColumn = 6;
    m_levelCaption->setText(m_tables.levelSource.empty()
            ? QStringLiteral("Flight levels (OAT of the standard atmosphere):")
            : QStringLiteral("Flight levels (wind and OAT of the %1):").arg(Q(m_tables.levelSource)));
    const FigureRows names = FigureNames(m_tables);
    QTableWidget* t = m_levelTable;
    t->clear();
    t->setColumnCount(7);
    t->setHorizontalHeaderLabels({QStringLiteral("FL"), QStringLiteral("OAT (\u00b0C)"),
        QStringLiteral("Wind (kts)"), names.first, names.second, QStringLiteral("Result"), QString()});
    t->setRowCount(static_cast<int>(m_tables.levels.size()));
    for (int row = 0; row < t->rowCount(); ++row) {
        const CompareCase& c = m_tables.levels[static_cast<size_t>(row)];
        const auto [first, second] = Figures(c, m_tables);
        QTableWidgetItem* outcome
            = Cell(c.best ? QStringLiteral("valid, best") : Outcome(c), Qt::AlignLeft | Qt::AlignVCenter);
        const QList<QTableWidgetItem*> items = {Cell(Q(c.label)), Cell(Q(c.texts[Field::Oat])),
            Cell(Q(c.texts[Field::Wind])), Cell(first), Cell(second), outcome};
        for (int col = 0; col < items.size(); ++col) {
            if (c.best) {
                items[col]->setBackground(kBestBackground);
                QFont bold = items[col]->font();
                bold.setBold(true);
                items[col]->setFont(bold);
            }
            t->setItem(row, col, items[col]);
        }
        if (!c.valid)
            outcome->setForeground(kStoppedText);
        if (!t->cellWidget(row, kUseColumn)) {
            QPushButton* use = UseButton(t, QStringLiteral("UseLevel%1").arg(row + 1));
            connect(use, &QPushButton::clicked, this, [this, row] { emit UseLevel(row); });
            t->setCellWidget(row, kUseColumn, use);
        }
        NameUseButton(t->cellWidget(row, kUseColumn), Q(c.label));
    }
    t->resizeColumnsToContents();
    t->horizontalHeader()->setSectionResizeMode(kUseColumn - 1, QHeaderView::Stretch);
}

void TCompareForm::FillChart()
{
    const KeyFigureName key = CompareKeyFigure(m_tables.modeText, m_tables.unit);
    m_chart->setTitle(Q(key.name) + QStringLiteral(" against flight level"));
    m_figureAxis->setTitleText(Q(key.name) + QStringLiteral(" (") + Q(key.unit) + QLatin1Char(')'));
    QList<QPointF> valid;
    for (const CompareCase& c : m_tables.levels) {
        if (c.valid)
            valid.append(QPointF(c.flightLevel, ShownKeyFigure(m_tables, c)));
    }
    double low = 0;
    double high = 1;
    if (!valid.isEmpty()) {
        const auto [minIt, maxIt] = std::minmax_element(
            valid.begin(), valid.end(), [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
        const double pad = std::max(1.0, (maxIt->y() - minIt->y()) * 0.1);
        low = std::max(0.0, minIt->y() - pad);
        high = maxIt->y() + pad;
    }
    m_figureAxis->setRange(low, high);
    m_figureAxis->applyNiceNumbers();
    low = m_figureAxis->min();
    // Levels a limit stopped lie on the bottom of the chart, where they are
    // seen without being read as a figure.
    QList<QPointF> stopped;
    QList<QPointF> best;
    for (const CompareCase& c : m_tables.levels) {
        const double level = c.flightLevel;
        if (!c.valid)
            stopped.append(QPointF(level, low));
        if (c.best)
            best.append(QPointF(level, ShownKeyFigure(m_tables, c)));
    }
    m_curve->replace(valid);
    m_best->replace(best);
    m_stopped->replace(stopped);
    for (QLegendMarker* marker : m_chart->legend()->markers(m_stopped))
        marker->setVisible(!stopped.isEmpty());
    double first = 0;
    double last = kCompareLevelStep;
    if (!m_tables.levels.empty()) {
        first = m_tables.levels.front().flightLevel;
        last = m_tables.levels.back().flightLevel;
    }
    // Ticks on the levels themselves, at most about eight of them.
    const double steps = std::max(1.0, (last - first) / kCompareLevelStep);
    m_levelAxis->setRange(first - kCompareLevelStep / 2, last + kCompareLevelStep / 2);
    m_levelAxis->setTickType(QValueAxis::TicksDynamic);
    m_levelAxis->setTickAnchor(first);
    m_levelAxis->setTickInterval(kCompareLevelStep * std::ceil(steps / 8));
}

} // namespace mirovax

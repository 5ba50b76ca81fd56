#include "payload_range_form.h"

#include "engine/checked_math.h"
#include "engine/text_format.h"
#include "ui/accessible/accessible_names.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace mirovax {

const FileDialogSpec kDiagramPngSaveDialog{
    QStringLiteral("DiagramPngSaveDialog"), QStringLiteral("PNG images|*.png")};
const FileDialogSpec kDiagramSvgSaveDialog{
    QStringLiteral("DiagramSvgSaveDialog"), QStringLiteral("SVG drawings|*.svg")};

namespace {

// The diagram is drawn on white paper whatever the window's palette, so these
// colours are chosen once to read on white (contrast at least 4.5:1).
const QColor kEnvelopeColour(42, 111, 219);
const QColor kInsideColour(22, 120, 50);
const QColor kOutsideColour(198, 40, 40);

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

TPayloadRangeForm::TPayloadRangeForm(IDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_dialogs(dialogs)
{
    setObjectName("PayloadRangeForm");
    setWindowTitle("Payload-Range");

    auto* buttons = new QHBoxLayout;
    auto* savePng = new QPushButton("Save as P&NG...", this);
    savePng->setObjectName("SavePngButton");
    savePng->setToolTip("Save the diagram as a PNG picture");
    auto* saveSvg = new QPushButton("Save as &SVG...", this);
    saveSvg->setObjectName("SaveSvgButton");
    saveSvg->setToolTip("Save the diagram as an SVG drawing");
    auto* print = new QPushButton("&Print...", this);
    print->setObjectName("PrintButton");
    print->setToolTip("Print the diagram");
    buttons->addWidget(savePng);
    buttons->addWidget(saveSvg);
    buttons->addWidget(print);
    buttons->addStretch();
    connect(savePng, &QPushButton::clicked, this, &TPayloadRangeForm::SavePng);
    connect(saveSvg, &QPushButton::clicked, this, &TPayloadRangeForm::SaveSvg);
    connect(print, &QPushButton::clicked, this, &TPayloadRangeForm::Print);

    BuildChart();

    m_picture = new QWidget(this);
    m_picture->setObjectName("DiagramPicture");
    m_picture->setAutoFillBackground(true);
    QPalette white = m_picture->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_picture->setPalette(white);
    m_missionLabel = new QLabel(m_picture);
    m_missionLabel->setObjectName("MissionLabel");
    m_missionLabel->setAlignment(Qt::AlignCenter);
    QFont bold = m_missionLabel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.1);
    m_missionLabel->setFont(bold);
    m_missionLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* pictureLayout = new QVBoxLayout(m_picture);
    pictureLayout->setContentsMargins(0, 0, 0, 10);
    pictureLayout->setSpacing(0);
    pictureLayout->addWidget(m_view, 1);
    pictureLayout->addWidget(m_missionLabel);

    m_message = new QLabel(this);
    m_message->setObjectName("MessageLabel");
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setMargin(24);

    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_picture);
    m_stack->addWidget(m_message);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_stack, 1);
    resize(900, 640);
    ShowUnusable("No airplane and entries yet.");
    NameControlsForAccessibility(this);
}

TPayloadRangeForm::~TPayloadRangeForm()
{
    // The chart outlives this part of the form while the widget tears down
    // its children; it must not move labels of a diagram already gone.
    disconnect(m_chart, nullptr, this, nullptr);
}

void TPayloadRangeForm::BuildChart()
{
    m_chart = new QChart;
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->setBackgroundRoundness(0);
    m_chart->setMargins(QMargins(12, 4, 28, 0));

    m_curve = new QLineSeries(m_chart);
    m_envelope = new QAreaSeries(m_curve);
    m_envelope->setObjectName("Envelope");
    m_envelope->setName("Maximum range");
    m_envelope->setPen(QPen(kEnvelopeColour, 2.5));
    QColor fill = kEnvelopeColour;
    fill.setAlpha(36);
    m_envelope->setBrush(fill);

    m_corners = new QScatterSeries;
    m_corners->setObjectName("Corners");
    m_corners->setName("Limit binding from here on");
    m_corners->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    m_corners->setMarkerSize(11);
    m_corners->setBrush(Qt::white);
    m_corners->setPen(QPen(kEnvelopeColour, 2.5));

    m_mission = new QScatterSeries;
    m_mission->setObjectName("Mission");
    m_mission->setName("Mission");
    m_mission->setMarkerShape(QScatterSeries::MarkerShapeRotatedRectangle);
    m_mission->setMarkerSize(15);
    m_mission->setPen(QPen(Qt::white, 1.5));

    m_chart->addSeries(m_envelope);
    m_chart->addSeries(m_corners);
    m_chart->addSeries(m_mission);

    m_rangeAxis = new QValueAxis;
    m_rangeAxis->setTitleText("Range (NM)");
    m_rangeAxis->setLabelFormat("%.0f");
    m_payloadAxis = new QValueAxis;
    m_payloadAxis->setTitleText("Payload (kg)");
    m_payloadAxis->setLabelFormat("%.0f");
    m_chart->addAxis(m_rangeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_payloadAxis, Qt::AlignLeft);
    for (QAbstractSeries* series : m_chart->series()) {
        series->attachAxis(m_rangeAxis);
        series->attachAxis(m_payloadAxis);
    }

    m_view = new QChartView(m_chart);
    m_view->setObjectName("DiagramView");
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumSize(640, 420);
    m_view->setAccessibleName("Payload-range diagram");
    m_view->setAccessibleDescription(
        "The maximum range for each payload; each corner names the limit that binds from it on");
    // The labels follow their corners whenever the plot moves or resizes.
    connect(m_chart, &QChart::plotAreaChanged, this, [this] { PlaceCornerLabels(); });
}

void TPayloadRangeForm::SetInputs(const DiagramMission& mission)
{
    if (mission.unusable)
        return ShowUnusable(Text(*mission.unusable));
    SetMission(mission.md, mission.md.Payload, mission.md.TripDistance);
}

void TPayloadRangeForm::SetMission(
    const TMissionData& airplaneAndInputs, double currentPayload, double currentTripDistance)
{
    try {
        m_diagram = ComputePayloadRange(airplaneAndInputs, kPoints);
    } catch (const DiagramError& e) {
        return ShowUnusable(e.what());
    } catch (const ArithmeticError& e) {
        return ShowUnusable(
            QString("The payload-range diagram cannot be drawn: %1 in the fuel models of these "
                    "entries.")
                .arg(e.what()));
    }
    const TMissionData& md = airplaneAndInputs;
    m_unit = md.Units;
    const QString unit = Text(std::string(MassUnitText(m_unit)));
    m_payloadAxis->setTitleText("Payload (" + unit + ")");
    QString title = md.Airframe.empty() ? QString("Payload-Range") : Text(md.Airframe);
    if (!md.Engine.empty())
        title += " (" + Text(md.Engine) + ")";
    title = "<p align='center'><b style='font-size:large'>" + title.toHtmlEscaped() + "</b>";
    title += QString("<br>FL %1, OAT %2 °C, wind %3 kts, "
                     "MATOW %4 %9, MALW %5 %9, alternate %6 NM, holding %7 min, contingency %8 %</p>")
                 .arg(Text(FormatGeneral(md.FlightLevel)), Text(FormatGeneral(md.OAT)),
                     Text(FormatGeneral(md.Wind)), Text(FormatMassExact(md.MATOW, m_unit)),
                     Text(FormatMassExact(md.MALW, m_unit)), Text(FormatGeneral(md.AlternateDistance)),
                     Text(FormatGeneral(md.HoldingTime)), Text(FormatGeneral(md.ContingencyPercent)), unit);
    ShowDiagram(title, currentPayload, currentTripDistance);
}

void TPayloadRangeForm::ShowDiagram(const QString& title, double payload, double tripDistance)
{
    m_chart->setTitle(title);
    QList<QPointF> curve, corners;
    double maxRange = std::max(tripDistance, 0.0), maxPayload = std::max(Shown(payload), 0.0);
    for (const PayloadRangePoint& p : m_diagram) {
        curve.append(QPointF(p.range, Shown(p.payload)));
        if (p.corner)
            corners.append(QPointF(p.range, Shown(p.payload)));
        maxRange = std::max(maxRange, p.range);
        maxPayload = std::max(maxPayload, Shown(p.payload));
    }
    m_curve->replace(curve);
    m_corners->replace(corners);
    m_mission->replace(QList<QPointF>{QPointF(tripDistance, Shown(payload))});

    // Head room above the top corners and right of the ferry range for the
    // labels.
    const std::vector<double> rangeTicks = AxisTicks(maxRange * 1.04, 8);
    const std::vector<double> payloadTicks = AxisTicks(maxPayload * 1.15, 6);
    m_rangeAxis->setRange(0, rangeTicks.back());
    m_rangeAxis->setTickCount(static_cast<int>(rangeTicks.size()));
    m_payloadAxis->setRange(0, payloadTicks.back());
    m_payloadAxis->setTickCount(static_cast<int>(payloadTicks.size()));

    m_missionInside = InsideEnvelope(m_diagram, payload, tripDistance);
    const QColor colour = m_missionInside ? kInsideColour : kOutsideColour;
    m_mission->setColor(colour);
    m_mission->setBorderColor(Qt::white);
    const QString unit = Text(std::string(MassUnitText(m_unit)));
    m_missionLabel->setText(QString("Mission: %1 %4 over %2 NM, %3 the envelope.")
                                .arg(Text(FormatMass(payload, m_unit)), Text(FormatRounded(tripDistance)),
                                    m_missionInside ? "inside" : "outside", unit));
    QPalette palette = m_missionLabel->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_missionLabel->setPalette(palette);

    ClearCornerLabels();
    QFont font = m_chart->font();
    font.setPointSizeF(font.pointSizeF() * 0.95);
    for (const PayloadRangePoint& p : m_diagram) {
        if (!p.corner)
            continue;
        auto* label
            = new QGraphicsSimpleTextItem(Text(p.bindsFromHere) + "\n" + Text(FormatMass(p.payload, m_unit))
                    + " " + unit + ", " + Text(FormatRounded(p.range)) + " NM",
                m_chart);
        label->setFont(font);
        label->setZValue(10);
        m_cornerLabels.push_back(label);
    }
    PlaceCornerLabels();

    m_stack->setCurrentWidget(m_picture);
    for (auto* button : findChildren<QPushButton*>())
        button->setEnabled(true);
}

void TPayloadRangeForm::ClearCornerLabels()
{
    for (QGraphicsSimpleTextItem* label : m_cornerLabels)
        delete label;
    m_cornerLabels.clear();
}

void TPayloadRangeForm::PlaceCornerLabels()
{
    const QRectF plot = m_chart->plotArea();
    size_t n = 0;
    for (const PayloadRangePoint& p : m_diagram) {
        if (!p.corner || n >= m_cornerLabels.size())
            continue;
        QGraphicsSimpleTextItem* label = m_cornerLabels[n++];
        const QPointF at = m_chart->mapToPosition(QPointF(p.range, Shown(p.payload)), m_corners);
        const QRectF box = label->boundingRect();
        // Right of the corner, or left of it near the right edge. Above it,
        // but below it inside the envelope for the zero-range corner on the
        // payload axis (the next corner's label would overlap) and for a
        // leftward label off the range axis (the curve rises leftwards
        // through the space above).
        const bool leftwards = at.x() > plot.left() + 0.6 * plot.width();
        const bool below = at.y() < plot.bottom() - 0.15 * plot.height() && (p.range == 0 || leftwards);
        const double x = leftwards ? at.x() - 10 - box.width() : at.x() + 10;
        const double y = below ? at.y() + 8 : at.y() - box.height() - 6;
        label->setPos(x, y);
    }
}

void TPayloadRangeForm::ShowUnusable(const QString& message)
{
    m_diagram.clear();
    m_missionInside = false;
    ClearCornerLabels();
    m_curve->clear();
    m_corners->clear();
    m_mission->clear();
    m_missionLabel->clear();
    m_message->setText(message);
    m_stack->setCurrentWidget(m_message);
    for (auto* button : findChildren<QPushButton*>())
        button->setEnabled(false);
}

bool TPayloadRangeForm::DiagramShown() const
{
    return m_stack->currentWidget() == m_picture;
}

QString TPayloadRangeForm::Message() const
{
    return DiagramShown() ? QString() : m_message->text();
}

QString TPayloadRangeForm::MissionText() const
{
    return m_missionLabel->text();
}

QStringList TPayloadRangeForm::CornerLabels() const
{
    QStringList texts;
    for (const QGraphicsSimpleTextItem* label : m_cornerLabels)
        texts.append(label->text());
    return texts;
}

bool TPayloadRangeForm::SaveAs(
    const FileDialogSpec& spec, const char* suffix, bool (TPayloadRangeForm::*save)(const QString&))
{
    if (!DiagramShown())
        return false;
    const FileChoice choice = m_dialogs.saveFile(this, spec);
    if (!choice.accepted())
        return false;
    // The name the user typed, with the suffix of the format when it has none.
    QString path = choice.path;
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QString::fromLatin1(suffix);
        m_dialogs.keepFileName(spec, path);
    }
    return (this->*save)(path);
}

bool TPayloadRangeForm::SavePng()
{
    return SaveAs(kDiagramPngSaveDialog, ".png", &TPayloadRangeForm::SavePngTo);
}

bool TPayloadRangeForm::SaveSvg()
{
    return SaveAs(kDiagramSvgSaveDialog, ".svg", &TPayloadRangeForm::SaveSvgTo);
}

bool TPayloadRangeForm::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName("Payload-Range");
    if (!DiagramShown() || !m_dialogs.choosePrinter(this, printer))
        return false;
    if (PrintTo(printer))
        return true;
    m_dialogs.error(this, "The payload-range diagram could not be printed.");
    return false;
}

void TPayloadRangeForm::SaveFailed(const QString& path, const QString& reason)
{
    m_dialogs.error(this, QString("Cannot save the diagram to \"%1\": %2").arg(path, reason));
}

bool TPayloadRangeForm::SavePngTo(const QString& path)
{
    if (!DiagramShown())
        return false;
    const QPixmap picture = m_picture->grab();
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit())
        return true;
    SaveFailed(path, file.errorString());
    return false;
}

bool TPayloadRangeForm::SaveSvgTo(const QString& path)
{
    if (!DiagramShown())
        return false;
    QSaveFile file(path);
    bool written = false;
    if (file.open(QIODevice::WriteOnly)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(m_picture->size());
        svg.setViewBox(QRect(QPoint(0, 0), m_picture->size()));
        // Qt writes the title and description into the file unescaped, so
        // they hold no text of the table (an "&" in a type's name).
        svg.setTitle("Payload-Range");
        QPainter painter;
        if (painter.begin(&svg)) {
            m_picture->render(&painter);
            written = painter.end() && file.commit();
        }
    }
    if (!written)
        SaveFailed(path, file.errorString());
    return written;
}

bool TPayloadRangeForm::PrintTo(QPrinter& printer)
{
    if (!DiagramShown())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The picture as large as the page allows, keeping its proportions.
    const QRect page = painter.viewport();
    const QSize size = m_picture->size();
    const double scale = std::min(
        static_cast<double>(page.width()) / size.width(), static_cast<double>(page.height()) / size.height());
    painter.translate(page.x() + (page.width() - size.width() * scale) / 2, page.y());
    painter.scale(scale, scale);
    m_picture->render(&painter);
    return painter.end();
}

} // namespace mirovax

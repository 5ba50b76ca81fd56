// Forecast winds and temperatures: File > Load Forecast and Clear Forecast,
// and the forecast's values going into Wind and OAT as the route and the
// flight level change.
#include "ui/MainUnit.h"

#include "forecast/forecast.h"
#include "ui/Controls.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QStatusBar>

#include <memory>

namespace mirovax {

const FileDialogSpec kForecastOpenDialog{QStringLiteral("ForecastOpenDialog"),
    QStringLiteral("GRIB2 Forecasts|*.grib2;*.grb2;*.grib;*.grb;*.anl;*.f0*|All Files|*")};

namespace {

// The wait cursor while a large forecast is read.
class TWaitCursor {
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace

void TMainForm::LoadForecast1Click()
{
    if (m_running)
        return;
    const FileChoice choice = m_dialogs.openFile(this, kForecastOpenDialog);
    if (choice.accepted())
        LoadForecast(choice.path);
}

void TMainForm::LoadForecast(const QString& path)
{
    if (m_running)
        return;
    Guarded([this, &path] {
        auto loaded = std::make_shared<LoadedForecast>();
        loaded->path = path.toStdString();
        {
            m_statusBar1->showMessage(QStringLiteral("Reading the forecast %1\u2026").arg(path));
            m_statusBar1->repaint();
            const TWaitCursor wait;
            loaded->forecast = ReadForecast(FilePath(path).string());
        }
        // Several validity times: the user picks one, the first proposed.
        size_t time = 0;
        if (loaded->forecast.times.size() > 1) {
            QStringList items;
            for (const ForecastTime& t : loaded->forecast.times)
                items << Q(ForecastTimeLabel(loaded->forecast, t) + ", " + ForecastValidityText(t));
            const int chosen = m_dialogs.chooseItem(
                this, QStringLiteral("The forecast holds several validity times. Use the one:"), items);
            if (chosen < 0) {
                m_statusBar1->clearMessage();
                return;
            }
            time = static_cast<size_t>(chosen);
        }
        TTable* airports = m_airportTable->Active() ? m_airportTable.get() : nullptr;
        m_session.LoadForecast(std::move(loaded), airports);
        m_session.ChooseForecastTime(time);
        m_clearForecast1->setEnabled(true);
        const TUpdateBatch batch(*this);
        ApplyForecast();
    });
}

void TMainForm::ClearForecast1Click()
{
    if (m_running || m_session.CurrentForecast() == nullptr)
        return;
    m_session.ClearForecast();
    m_clearForecast1->setEnabled(false);
    const TUpdateBatch batch(*this);
    // The compare window's levels go back to the standard atmosphere.
    EntriesChanged();
    const QString status = QStringLiteral("Forecast cleared: Wind and OAT are typed entries again.");
    m_statusBar1->showMessage(status);
    m_statusBar1->setToolTip(status);
}

void TMainForm::ApplyForecast()
{
    const LoadedForecast* loaded = m_session.CurrentForecast();
    if (loaded == nullptr)
        return;
    const PlanOutcome outcome = m_session.ApplyForecast();
    // Shown as typed: each field that changes counts as an edit.
    for (const Field field : outcome.changed)
        SetEditText(field, Q(m_session.ShownText(field)));
    // A forecast whose values are already in the fields still changes what
    // the compare window's levels take.
    EntriesChanged();
    ShowForecastStatus(outcome.messages);
}

void TMainForm::ShowForecastStatus(const std::vector<std::string>& messages)
{
    const LoadedForecast* loaded = m_session.CurrentForecast();
    if (loaded == nullptr)
        return;
    const ForecastTime& time = loaded->forecast.times.at(m_session.ForecastTimeIndex());
    // The values' source first: the line is cut at the window's width.
    QString status;
    const std::string source = m_session.WindSource();
    if (!source.empty())
        status = QStringLiteral("Wind %1 kts and OAT %2 \u00b0C from the %3.  ")
                     .arg(Q(m_session.Text(Field::Wind)), Q(m_session.Text(Field::Oat)), Q(source));
    status += QStringLiteral("Forecast: %1  %2, %3, %4.")
                  .arg(Q(loaded->path), Q(ForecastTimeLabel(loaded->forecast, time)),
                      Q(ForecastValidityText(time)), Q(ForecastLevelsText(time)));
    for (const std::string& message : messages)
        status += QStringLiteral("  ") + Q(message);
    m_statusBar1->showMessage(status);
    m_statusBar1->setToolTip(status);
}

} // namespace mirovax

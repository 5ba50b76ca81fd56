// The mass unit: Units > Kilograms or Pounds, remembered in the platform's
// settings, and what changes on the window with it.
#include "ui/MainUnit.h"

#include "form/window_captions.h"
#include "ui/Controls.h"

#include <QAction>
#include <QLabel>
#include <QSettings>

namespace mirovax {

namespace {

const QString kUnitsKey = QStringLiteral("units");

QSettings ProgramSettings()
{
    return QSettings(QStringLiteral("Mirovax"), QStringLiteral("Mirovax"));
}

// The fixed captions that name a mass unit: beside the payload, MATOW and
// MALW fields.
constexpr int kMassCaptions[] = {9, 25, 26};

} // namespace

MassUnit StoredMassUnit()
{
    const QString text = ProgramSettings().value(kUnitsKey).toString();
    return ParseMassUnit(text.toStdString()).value_or(MassUnit::Kilograms);
}

void TMainForm::ChooseMassUnit(MassUnit unit)
{
    // Not while a search owns the record, whose messages name the unit.
    if (m_running) {
        (m_session.Units() == MassUnit::Kilograms ? m_kilograms1 : m_pounds1)->setChecked(true);
        return;
    }
    ProgramSettings().setValue(kUnitsKey, Q(MassUnitText(unit)));
    if (unit == m_session.Units())
        return;
    const TUpdateBatch batch(*this);
    ApplyMassUnit(unit);
    ClearResults();
    EntriesChanged();
}

void TMainForm::ApplyMassUnit(MassUnit unit)
{
    m_session.SetUnits(unit);
    (unit == MassUnit::Kilograms ? m_kilograms1 : m_pounds1)->setChecked(true);
    for (const int n : kMassCaptions) {
        auto* caption = findChild<QLabel*>(QStringLiteral("StaticText%1").arg(n));
        const QString text = Q(StaticTextCaption(n, unit));
        caption->setText(text);
        caption->resize(caption->fontMetrics().horizontalAdvance(text) + 2, caption->height());
    }
    const std::string mode = ModeText().toStdString();
    for (int n = 1; n <= 10; ++n)
        NumberedLabel(n)->setAccessibleName(Q(ValueLabelName(n, {}, unit)));
    for (int n = 14; n <= 30; ++n)
        NumberedLabel(n)->setAccessibleName(Q(ValueLabelName(n, mode, unit)));
    // Showing the texts in the new unit changes no kilograms under them, nor
    // whether the setup has changed.
    const bool setupChanged = m_setupChanged;
    if (m_session.HasAirplane() && m_session.AirplaneReady()) {
        const AirplaneDisplay display = m_session.AirplaneDataShown();
        Edit(Field::Payload)->setCharLimit(display.payloadMaxLength);
        Edit(Field::Matow)->setCharLimit(display.matowMaxLength);
        Edit(Field::Malw)->setCharLimit(display.malwMaxLength);
        for (int n = 1; n <= 10; ++n)
            NumberedLabel(n)->setText(Q(display.labels.at(static_cast<size_t>(n - 1))));
    }
    ShowFields({Field::Payload, Field::Matow, Field::Malw});
    m_setupChanged = setupChanged;
}

} // namespace mirovax

// Setup files from the main window: load, save, the command-line open and
// the offer to save changes on closing.
#include "ui/MainUnit.h"

#include "setup/allowable_weights.h"
#include "setup/setup_file.h"
#include "ui/Controls.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QStatusBar>

namespace mirovax {

SetupTexts TMainForm::LoadSetupFile(const QString& path)
{
    const TUpdateBatch batch(*this);
    SetupTexts texts;
    try {
        texts = LoadSetup(FilePath(path));
    } catch (const SetupMissingLineError& e) {
        // The lines present go into their fields (kilograms, shown in the
        // unit), then the load stops at the first missing one; the
        // selectors and the rest stay as they were.
        const auto& present = e.linesPresent();
        for (const FieldSpec& spec : Fields()) {
            if (SetupIndex(spec.field) < present.size()) {
                m_session.SetText(spec.field, present[SetupIndex(spec.field)]);
                ShowFields({spec.field});
            }
        }
        throw;
    }
    // The selectors take the texts as they are, listed or not; text set here
    // runs no change reaction, so no airplane is loaded and no regulation
    // preset overwrites the file's holding time and contingency.
    m_session.SetEntries(texts);
    ShowEntries();
    m_statusBar1->showMessage(QStringLiteral("File: ") + path);
    m_statusBar1->setToolTip(m_statusBar1->currentMessage());
    m_viewReportButton->setEnabled(false);
    m_setupChanged = false;
    ClearResults();
    return texts;
}

std::vector<RunInput> TMainForm::TablesInUse() const
{
    return {{FilePath(m_programDir + QString::fromLatin1(kAirplaneTableName)), "the airplane table"},
        {FilePath(m_programDir + QString::fromLatin1(kAirportTableName)), "the airport table"}};
}

void TMainForm::SaveSetupFile(const QString& path)
{
    // Written beside the old file and renamed over it once complete: a
    // failed save leaves the previous setup whole.
    SaveSetup(FilePath(path), m_session.Entries(), TablesInUse());
    m_setupChanged = false;
}

void TMainForm::LoadSetup1Click()
{
    if (!OfferToSaveChanges())
        return;
    const FileChoice choice = m_dialogs.openFile(this, kSetupOpenDialog);
    if (!choice.accepted())
        return;
    OpenSetup(choice.path);
}

void TMainForm::OpenSetup(const QString& path)
{
    m_setupOpenDialogFileName = path;
    const TUpdateBatch batch(*this);
    Guarded([this, &path] {
        const SetupTexts texts = LoadSetupFile(path);
        m_routeBox->setEnabled(true);
        m_dataBox->setEnabled(true);
        m_controlBox->setEnabled(true);
        QString status = QStringLiteral("File: ") + path;
        // The file's airplane, then the file's own allowable weights where
        // they fit; the status bar says where they did not.
        const bool listed = ShowChosenAirplane(m_session.OpenSetup(texts));
        for (const std::string& note : m_session.AllowableWeightNotes())
            status += QStringLiteral("  ") + Q(note);
        m_statusBar1->showMessage(status);
        m_statusBar1->setToolTip(status);
        // A type the table lacks keeps the file's weights as they are; the
        // window refuses to compute until a listed type is chosen.
        if (!listed)
            ShowAirplaneStatus(Q(UnlistedAirplaneMessage(m_session.AirplaneText())));
        if (m_session.EntryFields() == FieldsOf(texts))
            m_setupChanged = false;
        // The setup's route under the loaded forecast: its values, each an
        // edit of the setup.
        ApplyForecast();
    });
}

void TMainForm::SaveSetup1Click()
{
    SaveSetupCommand();
}

bool TMainForm::SaveSetupCommand()
{
    const FileChoice choice = m_dialogs.saveFile(this, kSetupSaveDialog);
    if (!choice.accepted())
        return false;
    const QString path = Q(CompleteSetupFileName(choice.path.toStdString(), choice.filterIndex));
    // The dialog proposes the completed name the next time it opens.
    m_dialogs.keepFileName(kSetupSaveDialog, path);
    bool saved = false;
    Guarded([this, &path, &saved] {
        SaveSetupFile(path);
        saved = true;
    });
    return saved;
}

bool TMainForm::OfferToSaveChanges()
{
    if (!m_setupChanged)
        return true;
    m_dialogs.informationSound();
    switch (m_dialogs.question(this, QStringLiteral("Setup has been changed. Save changes?"))) {
    case TAnswer::Yes:
        return SaveSetupCommand();
    case TAnswer::No:
        return true;
    case TAnswer::Cancel:
        break;
    }
    return false;
}

bool TMainForm::FormCloseQuery()
{
    return OfferToSaveChanges();
}

void TMainForm::FormShow()
{
    // What a double-click on a setup file in the file manager starts: the
    // same as Load Setup after its dialog, so that the file's airplane is the
    // one computed. Only the first argument counts. Made absolute, the path
    // names the file in the report wherever the program was started from,
    // and the Load Setup dialog proposes it.
    if (m_startParamCount > 0) {
        const QString path = QFileInfo(QCoreApplication::arguments().at(1)).absoluteFilePath();
        m_dialogs.keepFileName(kSetupOpenDialog, path);
        OpenSetup(path);
    }
}

} // namespace mirovax

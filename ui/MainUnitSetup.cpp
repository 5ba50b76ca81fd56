// Setup files from the main window: load, save, the command-line open and
// the offer to save changes on closing.
#include "ui/MainUnit.h"

#include "setup/setup_file.h"
#include "ui/Controls.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>
#include <filesystem>

namespace mirovax {

namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// The path as the file system spells it.
std::filesystem::path FilePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// A name without an extension: no "." after the last separator. "\" and ":"
// count as separators too, so that a name typed the way other systems write
// paths is judged the same way.
bool HasNoExtension(const QString& path)
{
    qsizetype lastSeparator = -1;
    for (const QChar separator : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')})
        lastSeparator = std::max(lastSeparator, path.lastIndexOf(separator));
    return path.indexOf(QLatin1Char('.'), lastSeparator + 1) < 0;
}

} // namespace

void TMainForm::LoadSetupFile(const QString& path)
{
    SetupTexts texts;
    try {
        texts = LoadSetup(FilePath(path));
    } catch (const SetupMissingLineError& e) {
        // The lines present go into their fields, then the load stops at the
        // first missing one; the selectors and the rest stay as they were.
        const auto& present = e.linesPresent();
        for (int n = 1; n <= 15 && n <= static_cast<int>(present.size()); ++n)
            SetEditText(n, Q(present[static_cast<size_t>(n - 1)]));
        throw;
    }
    for (int n = 1; n <= 15; ++n)
        SetEditText(n, Q(texts[static_cast<size_t>(n - 1)]));
    // The selectors take the texts as they are, listed or not; text set here
    // runs no change reaction, so no airplane is loaded and no regulation
    // preset overwrites the file's holding time and contingency.
    m_airplaneSelector->setEditText(Q(texts[kSetupAirplaneLine]));
    m_regulationSelector->setEditText(Q(texts[kSetupRegulationsLine]));
    m_statusBar1->showMessage(QStringLiteral("File: ") + path);
    m_viewReportButton->setEnabled(false);
    m_setupChanged = false;
    ClearResults();
}

std::vector<RunInput> TMainForm::TablesInUse() const
{
    return {{FilePath(m_programDir + QString::fromLatin1(kAirplaneTableName)), "the airplane table"},
        {FilePath(m_programDir + QString::fromLatin1(kAirportTableName)), "the airport table"}};
}

void TMainForm::SaveSetupFile(const QString& path)
{
    SetupTexts texts;
    for (int n = 1; n <= 15; ++n)
        texts[static_cast<size_t>(n - 1)] = Edit(n)->text().toStdString();
    texts[kSetupAirplaneLine] = m_airplaneSelector->currentText().toStdString();
    texts[kSetupRegulationsLine] = m_regulationSelector->currentText().toStdString();
    // Written beside the old file and renamed over it once complete: a
    // failed save leaves the previous setup whole.
    SaveSetup(FilePath(path), texts, TablesInUse());
    m_setupChanged = false;
}

void TMainForm::LoadSetup1Click()
{
    const FileChoice choice = m_dialogs.openFile(this, kSetupOpenDialog);
    if (!choice.accepted())
        return;
    m_setupOpenDialogFileName = choice.path;
    Guarded([this, &choice] {
        LoadSetupFile(choice.path);
        m_routeBox->setEnabled(true);
        m_dataBox->setEnabled(true);
        m_controlBox->setEnabled(true);
        LoadAirplane(m_airplaneSelector->currentText());
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
        return true;
    QString path = choice.path;
    if (HasNoExtension(path) && choice.filterIndex == 1)
        path += QStringLiteral(".mrx");
    // The dialog proposes the completed name the next time it opens.
    m_dialogs.keepFileName(kSetupSaveDialog, path);
    bool saved = false;
    Guarded([this, &path, &saved] {
        SaveSetupFile(path);
        saved = true;
    });
    return saved;
}

bool TMainForm::FormCloseQuery()
{
    if (!m_setupChanged)
        return true;
    m_dialogs.informationSound();
    if (m_dialogs.question(this, QStringLiteral("Setup has been changed. Save changes?")))
        return SaveSetupCommand();
    return true;
}

void TMainForm::FormShow()
{
    // Only the first argument counts; it goes to the file layer as given.
    if (m_startParamCount > 0) {
        const QStringList arguments = QCoreApplication::arguments();
        Guarded([this, &arguments] { LoadSetupFile(arguments.at(1)); });
    }
}

} // namespace mirovax

#include "ui/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace mirovax {

void TQtDialogs::informationSound()
{
    QApplication::beep();
}

void TQtDialogs::warning(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, QMessageBox::tr("Warning"), text, QMessageBox::Ok);
}

TAnswer TQtDialogs::question(QWidget* parent, const QString& text)
{
    // With a Cancel button the box takes Esc as Cancel.
    switch (QMessageBox::warning(parent, QMessageBox::tr("Warning"), text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::No:
        return TAnswer::No;
    default:
        return TAnswer::Cancel;
    }
}

void TQtDialogs::error(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, QStringLiteral("Mirovax"), text, QMessageBox::Ok);
}

namespace {

// Runs the dialog proposing the file last chosen in it (kept in lastFileNames
// by the dialog's name) and keeps the new choice there.
FileChoice RunFileDialog(QWidget* parent, const FileDialogSpec& spec, QFileDialog::AcceptMode mode,
    QHash<QString, QString>& lastFileNames)
{
    const QString proposed = lastFileNames.value(spec.name);
    QFileDialog dialog(parent);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    dialog.setObjectName(spec.name);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = QtNameFilters(spec.filter);
    dialog.setNameFilters(filters);
    if (!spec.fileName.isEmpty())
        dialog.selectFile(spec.fileName);
    if (mode == QFileDialog::AcceptSave)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.confirmOverwrite);
    FileChoice choice;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return choice;
    choice.path = dialog.selectedFiles().constFirst();
    choice.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.filterIndex < 1)
        choice.filterIndex = 1;
    if (choice.accepted())
        lastFileNames.insert(spec.name, choice.path);
    return choice;
}

} // namespace

FileChoice TQtDialogs::openFile(QWidget* parent, const FileDialogSpec& spec)
{
    return RunFileDialog(parent, spec, QFileDialog::AcceptOpen, m_lastFileNames);
}

FileChoice TQtDialogs::saveFile(QWidget* parent, const FileDialogSpec& spec)
{
    return RunFileDialog(parent, spec, QFileDialog::AcceptSave, m_lastFileNames);
}

void TQtDialogs::keepFileName(const FileDialogSpec& spec, const QString& path)
{
    m_lastFileNames.insert(spec.name, path);
}

bool TQtDialogs::choosePrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int TQtDialogs::chooseItem(QWidget* parent, const QString& text, const QStringList& items)
{
    bool ok = false;
    const QString chosen
        = QInputDialog::getItem(parent, QStringLiteral("Mirovax"), text, items, 0, /*editable=*/false, &ok);
    return ok ? static_cast<int>(items.indexOf(chosen)) : -1;
}

QStringList QtNameFilters(const QString& barFilter)
{
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(
            parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
    return filters;
}

void ShowEntryMessage(IDialogs& dialogs, QWidget* parent, const QString& text)
{
    dialogs.informationSound();
    dialogs.warning(parent, text);
}

} // namespace mirovax

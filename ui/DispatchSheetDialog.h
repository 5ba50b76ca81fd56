#pragma once

#include "report/dispatch_sheet.h"
#include "textio/file_writer.h"
#include "ui/Dialogs.h"

#include <QDialog>
#include <QString>

#include <vector>

class QLineEdit;
class QPrinter;
class QTextBrowser;

namespace mirovax {

// The save dialogs of the dispatch sheet.
extern const FileDialogSpec kSheetHtmlSaveDialog;
extern const FileDialogSpec kSheetPdfSaveDialog;

// The "Dispatch Sheet…" dialog: the flight number and registration, a
// preview of the sheet the core composes for the last run, and saving it as
// HTML or PDF and printing it. Both files go through the one file writer, so
// its refusals (an input of the run, a read-only file) apply to them alike.
class TDispatchSheetDialog : public QDialog {
    Q_OBJECT
public:
    // inputs: the files the run read, which no save may replace.
    TDispatchSheetDialog(IDialogs& dialogs, std::vector<RunInput> inputs, QWidget* parent = nullptr);

    // The run the sheet is for; the flight number and registration entered
    // are kept.
    void SetRun(const DispatchSheetInput& run);
    // The run with the flight number and registration as entered.
    DispatchSheetInput SheetInput() const;
    // The sheet as the core composes it (UTF-8), and as it is previewed.
    const std::string& Html() const { return m_html; }
    QTextBrowser* Preview() const { return m_preview; }

    // Ask for a file name or printer, then write; false when cancelled or
    // failed (a failure is shown in the error box).
    bool SaveHtml();
    bool SavePdf();
    bool Print();
    // Write without asking; throw std::runtime_error naming the file.
    void SaveHtmlTo(const QString& path) const;
    void SavePdfTo(const QString& path) const;
    void PrintTo(QPrinter& printer) const;

private:
    void Compose();
    // Asks through spec, completes a name without extension with suffix
    // and writes with save; empty when cancelled.
    bool SaveAs(const FileDialogSpec& spec, const char* suffix,
        void (TDispatchSheetDialog::*save)(const QString&) const);

    IDialogs& m_dialogs;
    std::vector<RunInput> m_inputs;
    DispatchSheetInput m_run;
    std::string m_html;
    QLineEdit* m_flight = nullptr;
    QLineEdit* m_registration = nullptr;
    QTextBrowser* m_preview = nullptr;
};

} // namespace mirovax

#include "ui/DispatchSheetDialog.h"

#include "ui/Controls.h"
#include "ui/accessible/accessible_names.h"

#include <QBuffer>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <stdexcept>
#include <utility>

namespace mirovax {

const FileDialogSpec kSheetHtmlSaveDialog{
    QStringLiteral("SheetHtmlSaveDialog"), QStringLiteral("HTML File|*.html")};
const FileDialogSpec kSheetPdfSaveDialog{
    QStringLiteral("SheetPdfSaveDialog"), QStringLiteral("PDF File|*.pdf")};

namespace {

// The print job's and the PDF's title.
constexpr char kSheetTitle[] = "Dispatch Sheet";

[[noreturn]] void Fail(const QString& path, const std::string& reason)
{
    throw std::runtime_error(
        "Cannot write the dispatch sheet to \"" + path.toStdString() + "\": " + reason + ".");
}

void Write(const QString& path, std::string_view bytes, const std::vector<RunInput>& inputs)
{
    try {
        WriteFileAtomically(FilePath(path), bytes, inputs);
    } catch (const FileWriteError& e) {
        Fail(path, e.what());
    }
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const QString& hint)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TDispatchSheetDialog::TDispatchSheetDialog(IDialogs& dialogs, std::vector<RunInput> inputs, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_inputs(std::move(inputs))
{
    setObjectName(QStringLiteral("DispatchSheetDialog"));
    setWindowTitle(QStringLiteral("Dispatch Sheet"));

    m_flight = new QLineEdit(this);
    m_flight->setObjectName(QStringLiteral("FlightEdit"));
    m_flight->setToolTip(QStringLiteral("Flight number, as it is to stand on the sheet"));
    m_registration = new QLineEdit(this);
    m_registration->setObjectName(QStringLiteral("RegistrationEdit"));
    m_registration->setToolTip(QStringLiteral("Registration of the airplane"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Flight number:"), m_flight);
    fields->addRow(QStringLiteral("&Registration:"), m_registration);
    connect(m_flight, &QLineEdit::textChanged, this, &TDispatchSheetDialog::Compose);
    connect(m_registration, &QLineEdit::textChanged, this, &TDispatchSheetDialog::Compose);

    m_preview = new QTextBrowser(this);
    m_preview->setObjectName(QStringLiteral("SheetPreview"));
    m_preview->setOpenLinks(false);
    m_preview->setMinimumSize(480, 360);
    m_preview->setAccessibleName(QStringLiteral("Dispatch sheet"));
    m_preview->setAccessibleDescription(QStringLiteral("The sheet as it is saved and printed"));

    QPushButton* saveHtml = Button(this, "SaveHtmlButton", QStringLiteral("Save as &HTML..."),
        QStringLiteral("Save the sheet as a web page"));
    QPushButton* savePdf = Button(this, "SavePdfButton", QStringLiteral("Save as P&DF..."),
        QStringLiteral("Save the sheet as a PDF file"));
    QPushButton* print
        = Button(this, "PrintButton", QStringLiteral("&Print..."), QStringLiteral("Print the sheet"));
    QPushButton* close
        = Button(this, "CloseButton", QStringLiteral("Close"), QStringLiteral("Close the dispatch sheet"));
    connect(saveHtml, &QPushButton::clicked, this, &TDispatchSheetDialog::SaveHtml);
    connect(savePdf, &QPushButton::clicked, this, &TDispatchSheetDialog::SavePdf);
    connect(print, &QPushButton::clicked, this, &TDispatchSheetDialog::Print);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveHtml);
    buttons->addWidget(savePdf);
    buttons->addWidget(print);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_preview, 1);
    layout->addLayout(buttons);
    // About an A4 page's width on screen; the height stays within a small
    // screen.
    resize(840, 740);
    NameControlsForAccessibility(this);
}

void TDispatchSheetDialog::SetRun(const DispatchSheetInput& run)
{
    m_run = run;
    Compose();
}

DispatchSheetInput TDispatchSheetDialog::SheetInput() const
{
    DispatchSheetInput input = m_run;
    input.flight = m_flight->text().toStdString();
    input.registration = m_registration->text().toStdString();
    return input;
}

void TDispatchSheetDialog::Compose()
{
    m_html = DispatchSheetHtml(SheetInput());
    // The preview keeps its place while the fields are typed into.
    const int scrolled = m_preview->verticalScrollBar()->value();
    m_preview->setHtml(QString::fromStdString(m_html));
    m_preview->verticalScrollBar()->setValue(scrolled);
}

bool TDispatchSheetDialog::SaveAs(
    const FileDialogSpec& spec, const char* suffix, void (TDispatchSheetDialog::*save)(const QString&) const)
{
    const FileChoice choice = m_dialogs.saveFile(this, spec);
    if (!choice.accepted())
        return false;
    QString path = choice.path;
    if (!HasFileExtension(path.toStdString())) {
        path += QString::fromLatin1(suffix);
        m_dialogs.keepFileName(spec, path);
    }
    try {
        (this->*save)(path);
    } catch (const std::exception& e) {
        m_dialogs.error(this, Q(e.what()));
        return false;
    }
    return true;
}

bool TDispatchSheetDialog::SaveHtml()
{
    return SaveAs(kSheetHtmlSaveDialog, ".html", &TDispatchSheetDialog::SaveHtmlTo);
}

bool TDispatchSheetDialog::SavePdf()
{
    return SaveAs(kSheetPdfSaveDialog, ".pdf", &TDispatchSheetDialog::SavePdfTo);
}

bool TDispatchSheetDialog::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(kSheetTitle));
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!m_dialogs.choosePrinter(this, printer))
        return false;
    try {
        PrintTo(printer);
    } catch (const std::exception& e) {
        m_dialogs.error(this, Q(e.what()));
        return false;
    }
    return true;
}

void TDispatchSheetDialog::SaveHtmlTo(const QString& path) const
{
    Write(path, m_html, m_inputs);
}

void TDispatchSheetDialog::SavePdfTo(const QString& path) const
{
    // Refused before the page is laid out; the bytes then go through the
    // writer like every other file.
    try {
        RefuseRunInput(FilePath(path), m_inputs);
    } catch (const FileWriteError& e) {
        Fail(path, e.what());
    }
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(QString::fromLatin1(kSheetTitle));
        writer.setCreator(QString::fromStdString(m_run.programTitle));
        writer.setPageSize(QPageSize(QPageSize::A4));
        QTextDocument document;
        document.setHtml(QString::fromStdString(m_html));
        document.print(&writer);
    }
    Write(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), m_inputs);
}

void TDispatchSheetDialog::PrintTo(QPrinter& printer) const
{
    if (!printer.isValid())
        throw std::runtime_error("No printer is available to print the dispatch sheet.");
    QTextDocument document;
    document.setHtml(QString::fromStdString(m_html));
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error)
        throw std::runtime_error("The printer failed to print the dispatch sheet.");
}

} // namespace mirovax

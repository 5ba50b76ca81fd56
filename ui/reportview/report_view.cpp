#include "ui/reportview/report_view.h"

#include "report/report_file.h"
#include "report/report_text.h"
#include "report/rtf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QList>
#include <QPainter>
#include <QPalette>
#include <QPrinter>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace mirovax {

namespace {

constexpr int kReportViewSizePt = 8;

// Tab positions in a QTextDocument are in pixels at Qt's reference
// resolution of 96 per inch; the layout scales them for a printer. A twip is
// 1/1440 inch, so one of these pixels is 15 twips.
constexpr double kTwipsPerTabUnit = 1440.0 / 96.0;

QString FromUtf8Row(const std::string& text)
{
    // Decoded the way the rich-text writer decodes, so the view, the file
    // and the printout show the same characters; a line or paragraph break
    // from anywhere would split the row, so it shows as a blank.
    std::u32string codePoints = DecodeUtf8(text);
    for (char32_t& c : codePoints) {
        if (c != U'\t' && IsReportControlCharacter(c))
            c = U' ';
    }
    return QString::fromUcs4(codePoints.data(), static_cast<qsizetype>(codePoints.size()));
}

QTextBlockFormat RowBlockFormat(const ReportRow& row)
{
    QList<QTextOption::Tab> tabs;
    for (const int twips : row.tabStopsTwips)
        tabs.append(QTextOption::Tab(twips / kTwipsPerTabUnit, QTextOption::LeftTab));
    QTextBlockFormat format;
    format.setTabPositions(tabs);
    return format;
}

QTextCharFormat RowCharFormat(const ReportRow& row)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{
        QString::fromUtf8(kReportFontName.data(), static_cast<qsizetype>(kReportFontName.size()))});
    format.setFontPointSize(row.sizePt);
    format.setFontWeight(row.bold ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(row.underline);
    format.setFontItalic(false);
    format.setFontStrikeOut(false);
    return format;
}

QFont ReportViewFont()
{
    QFont font(QString::fromUtf8(kReportFontName.data(), static_cast<qsizetype>(kReportFontName.size())),
        kReportViewSizePt);
    // Where Arial itself is missing, the system's metric-compatible stand-in
    // keeps the columns where they belong.
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The printer as the user knows it: the file printed to, or its name.
std::string PrintTarget(const QPrinter& printer)
{
    if (!printer.outputFileName().isEmpty())
        return "\"" + printer.outputFileName().toStdString() + "\"";
    return "printer \"" + printer.printerName().toStdString() + "\"";
}

[[noreturn]] void PrintingFailed(const QPrinter& printer, const std::string& reason)
{
    throw std::runtime_error("Printing failed on " + PrintTarget(printer) + ": " + reason);
}

// The 0-based pages to print, in order: the range the print dialog asked
// for, and each page as often as the copies asked for where the printer
// cannot make copies itself (printing to a file).
std::vector<int> PrintOrder(const QPrinter& printer, int pageCount)
{
    int first = 0;
    int last = pageCount - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        if (printer.toPage() > 0)
            last = std::min(last, printer.toPage() - 1);
        if (first > last)
            PrintingFailed(printer, "the report has only " + std::to_string(pageCount) + " page(s).");
    }
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    std::vector<int> order;
    if (printer.collateCopies()) {
        for (int copy = 0; copy < copies; ++copy) {
            for (int page = first; page <= last; ++page)
                order.push_back(page);
        }
    } else {
        for (int page = first; page <= last; ++page)
            order.insert(order.end(), static_cast<size_t>(copies), page);
    }
    return order;
}

// Draws one page of the laid-out report into the text area: the layout
// holds the pages one below the other, each as tall as the text area.
void DrawPage(QPainter& painter, const QTextDocument& pages, const PageRect& rect, int page)
{
    const int widthPx = rect.right - rect.left;
    const int heightPx = rect.bottom - rect.top;
    const QRectF view(0, static_cast<qreal>(page) * heightPx, widthPx, heightPx);
    painter.save();
    painter.translate(rect.left, rect.top - view.top());
    painter.setClipRect(view);
    QAbstractTextDocumentLayout::PaintContext context;
    // The first line of the next page begins exactly at this page's bottom
    // edge; a clip that touches it would draw that line here too, hidden
    // but still in the printout's text.
    context.clip = view.adjusted(0, 0, 0, -1);
    context.palette.setColor(QPalette::Text, Qt::black);
    pages.documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace

QString ReportSaveFilters()
{
    return QString::fromLatin1(kReportRichTextFilter) + QStringLiteral(";;")
        + QString::fromLatin1(kReportTextFilter);
}

int ReportFileTypeIndex(const QString& selectedFilter)
{
    if (selectedFilter == QLatin1String(kReportRichTextFilter))
        return kReportFileTypeRichText;
    if (selectedFilter == QLatin1String(kReportTextFilter))
        return kReportFileTypeText;
    return 0;
}

void ConfigureReportView(QTextEdit* richEdit)
{
    if (richEdit == nullptr)
        throw std::invalid_argument("ConfigureReportView: no view");
    richEdit->setFont(ReportViewFont());
    richEdit->document()->setDefaultFont(ReportViewFont());
    richEdit->setReadOnly(true);
    richEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richEdit->setLineWrapMode(QTextEdit::WidgetWidth);
    richEdit->setFocusPolicy(Qt::ClickFocus);
    richEdit->setTabChangesFocus(true);
}

void ShowReportInView(QTextEdit* richEdit, const ReportModel& model)
{
    if (richEdit == nullptr)
        throw std::invalid_argument("ShowReportInView: no view");
    QTextDocument* document = richEdit->document();
    // A report is shown, not edited: nothing to undo, and the old report's
    // undo steps would only hold its text alive.
    document->setUndoRedoEnabled(false);
    document->clear();
    document->setDefaultFont(ReportViewFont());

    QTextCursor cursor(document);
    cursor.beginEditBlock();
    bool first = true;
    for (const ReportRow& row : model.rows) {
        const QTextCharFormat charFormat = RowCharFormat(row);
        if (first) {
            // The empty document's one paragraph becomes the first row, so
            // the document holds exactly one paragraph per row.
            cursor.setBlockFormat(RowBlockFormat(row));
            cursor.setBlockCharFormat(charFormat);
            first = false;
        } else {
            cursor.insertBlock(RowBlockFormat(row), charFormat);
        }
        cursor.insertText(FromUtf8Row(row.text), charFormat);
    }
    cursor.endEditBlock();

    richEdit->setReadOnly(true);
    richEdit->moveCursor(QTextCursor::Start);
}

PageRect ReportPageRect(int dpiX, int dpiY, int widthPx, int heightPx)
{
    return PageRect{dpiX, dpiY, widthPx - dpiX / 2, heightPx - dpiY};
}

void PrintReport(const QTextDocument& document, QPrinter& printer)
{
    // Where no printer is set up, Qt falls back to writing a PDF file; with
    // no file chosen there is nowhere to print to.
    const bool noFile = printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty();
    if (!printer.isValid() || noFile)
        throw std::runtime_error("No printer is available. Install a printer or choose another one in the "
                                 "print dialog.");

    // The painter's origin on a printer is the corner of the printable page,
    // and width() and height() are that page's size in printer pixels.
    const PageRect rect
        = ReportPageRect(printer.logicalDpiX(), printer.logicalDpiY(), printer.width(), printer.height());
    const int widthPx = rect.right - rect.left;
    const int heightPx = rect.bottom - rect.top;
    if (widthPx <= 0 || heightPx <= 0)
        PrintingFailed(printer, "the printable page is too small for the report's margins.");

    // The report is laid out again for the printer, in its own pixels, with
    // the text area as the page, so that each page takes whole lines.
    const std::unique_ptr<QTextDocument> pages(document.clone());
    pages->documentLayout()->setPaintDevice(&printer);
    pages->setDocumentMargin(0);
    pages->setPageSize(QSizeF(widthPx, heightPx));
    const int pageCount = pages->pageCount();
    const std::vector<int> order = PrintOrder(printer, pageCount);

    printer.setDocName(QString::fromLatin1(kReportJobTitle));
    QPainter painter;
    if (!painter.begin(&printer))
        PrintingFailed(printer, "the printer could not start the job.");
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            printer.abort();
            PrintingFailed(printer, "the printer could not start a new page.");
        }
        DrawPage(painter, *pages, rect, order[i]);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        PrintingFailed(printer, "the printer reported an error.");
}

void PrintReport(const QTextEdit* richEdit, QPrinter& printer)
{
    if (richEdit == nullptr)
        throw std::invalid_argument("PrintReport: no view");
    PrintReport(*richEdit->document(), printer);
}

QString SaveReport(const ReportModel& model, const QString& chosenName, int fileTypeIndex,
    const std::vector<RunInput>& inputs)
{
    QString path = QString::fromStdString(CompleteReportFileName(chosenName.toStdString(), fileTypeIndex));
    SaveReportFile(QFile::encodeName(path).toStdString(), WriteRtf(model), inputs);
    return path;
}

} // namespace mirovax

// The main window's side of the payload-range diagram: the command that
// opens the diagram window, keeping it in step with the airplane and the
// entries, and the window's dialogs answered by the main window's own.
#include "ui/MainUnit.h"

#include <QAction>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

namespace mirovax {

namespace {

// The diagram window asks through IDiagramDialogs; the main window answers
// with its IDialogs, so that one test double answers both windows.
class TDiagramDialogs : public QObject, public IDiagramDialogs {
public:
    TDiagramDialogs(IDialogs& dialogs, QObject* owner)
        : QObject(owner)
        , m_dialogs(dialogs)
    { }

    QString AskSavePath(QWidget* parent, const QString& /*caption*/, const QString& filter) override
    {
        // "PNG images (*.png)" becomes "PNG images|*.png", the main window's
        // filter form.
        static const QRegularExpression kFilter(QStringLiteral("^(.*) \\((.*)\\)$"));
        const QRegularExpressionMatch m = kFilter.match(filter);
        const QString barFilter = m.hasMatch() ? m.captured(1) + "|" + m.captured(2) : filter + "|*";
        FileDialogSpec spec{QStringLiteral("DiagramSaveDialog"), barFilter};
        return m_dialogs.saveFile(parent, spec).path;
    }
    bool AskPrinter(QWidget* parent, QPrinter& printer) override
    {
        return m_dialogs.choosePrinter(parent, printer);
    }
    void ShowError(QWidget* parent, const QString& message) override { m_dialogs.error(parent, message); }

private:
    IDialogs& m_dialogs;
};

} // namespace

void TMainForm::PayloadRange1Click()
{
    // During a Maximum Range search the record belongs to the search; the
    // run's input filter keeps the menu and the tool bar away, and a
    // command that comes by another way does nothing either.
    if (m_running)
        return;
    Guarded([this] {
        if (!m_payloadRangeForm) {
            m_payloadRangeForm = new TPayloadRangeForm(this);
            m_payloadRangeForm->setAttribute(Qt::WA_QuitOnClose, false);
            m_payloadRangeForm->SetDialogs(new TDiagramDialogs(m_dialogs, m_payloadRangeForm));
        }
        ShowFollower(m_payloadRangeForm);
        UpdatePayloadRange();
    });
}

void TMainForm::UpdatePayloadRange()
{
    if (!m_payloadRangeForm || !m_payloadRangeForm->isVisible())
        return;
    ++m_followerUpdates.diagram;
    // The window refuses unusable entries and undrawable data itself; only
    // what it cannot foresee reaches the general error handler.
    Guarded([this] {
        if (const std::optional<QString> missing
            = NoAirplaneMessage(QStringLiteral("The diagram cannot be drawn"))) {
            m_payloadRangeForm->ShowUnusable(*missing);
            return;
        }
        m_payloadRangeForm->SetInputs(m_md, CollectFieldTexts());
    });
}

} // namespace mirovax

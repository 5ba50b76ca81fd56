#pragma once

// The objects behind the main window's calculation run.
#include "ui/MainUnit.h"

#include <QObject>

namespace mirovax {

// What the solve modes ask of the window: the limit report and the event
// yield of the Maximum Range search.
class TMainForm::TRunServices : public IMissionServices {
public:
    explicit TRunServices(TMainForm& form);
    void ReportLimit(const std::string& message) override;
    void YieldEvents() override;

private:
    TMainForm& m_form;
};

// While a search yields to the event loop, user input reaches only the Abort
// button (and Esc, which presses it): Execute, the selectors, the fields, the
// menu and the tool bar would otherwise change the mission data under the
// search. Painting, timers and the close button go on as usual.
class TMainForm::TRunInputFilter : public QObject {
public:
    explicit TRunInputFilter(TMainForm& form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMainForm& m_form;
};

} // namespace mirovax

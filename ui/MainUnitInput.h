#pragma once

// The helper objects behind the main window's key filters and exit checks.
#include "ui/MainUnit.h"

#include <QObject>

#include <utility>
#include <vector>

namespace mirovax {

// Sits in front of the numeric fields: typed characters go through the
// field's key handler first, and the reason the focus left a checked field
// is kept for the exit check.
class TMainForm::TKeyFilter : public QObject {
public:
    explicit TKeyFilter(TMainForm& form);
    void watch(QWidget* edit, Field field);
    Qt::FocusReason lastFocusOutReason() const { return m_lastFocusOutReason; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMainForm& m_form;
    std::vector<std::pair<QWidget*, Field>> m_fields;
    Qt::FocusReason m_lastFocusOutReason = Qt::OtherFocusReason;
};

// After an exit check has put the focus back because a mouse press moved it
// away, that press is still on its way to the control clicked. It is dropped,
// so that a button clicked while leaving a rejected value does not act on it.
class TMainForm::TPressEater : public QObject {
public:
    explicit TPressEater(TMainForm& form);
    ~TPressEater() override;
    // Drops the next press on this window's controls until the event loop
    // next runs.
    void arm();
    void disarm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMainForm& m_form;
    bool m_armed = false;
};

} // namespace mirovax

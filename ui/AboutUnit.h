#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace mirovax {

// The About box: created once, hidden, and shown modally by the Help menu's
// About command. Each showing copies the main window's caption into Label1.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    // mainWindow supplies the caption; the box is centred over it. The box is
    // a window of its own, not a child of the main window.
    explicit TAboutForm(QWidget* mainWindow);

    void FormShow();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* m_mainWindow;
    QFrame* m_panel1;
    QLabel* m_label1;
    QLabel* m_staticText1;
    QPushButton* m_button1;
};

} // namespace mirovax

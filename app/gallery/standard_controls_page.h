// The gallery page of the standard controls: each control in a realistic setting, and a line
// that reports the last event raised.
#pragma once

#include <QLabel>
#include <QWidget>

class QGridLayout;

class StandardControlsPage : public QWidget {
    Q_OBJECT
  public:
    explicit StandardControlsPage(QWidget* parent = nullptr);

  private:
    void addRow(const QString& name, QWidget* controls);
    void report(const QString& text);

    QGridLayout* grid_;
    QLabel* lblEvent_;
};

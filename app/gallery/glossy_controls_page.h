// The gallery page of the glossy controls: every control of the library in a few realistic
// settings (captions of the settings window and the wizard), with a line that names the last
// event a control raised.
#pragma once

#include <QWidget>

class QLabel;

class GlossyControlsPage : public QWidget {
    Q_OBJECT
  public:
    explicit GlossyControlsPage(QWidget* parent = nullptr);

  private:
    void report(const QString& event);

    QLabel* lblEvent_;
};

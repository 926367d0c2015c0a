#pragma once

// The window drawn from the window model: one widget per control, named after
// it, at its place. User input becomes assignments on the model; changes on
// the model reach the widgets without echoing back.

#include <QHash>
#include <QWidget>
#include <map>
#include <memory>

#include "ui/model/controls.h"

class QLabel;
class QTabWidget;

namespace velmo {

struct App;

class MainWindow : public QWidget {
  public:
    explicit MainWindow(App& app);
    ~MainWindow() override;

    QWidget* WidgetOf(const Control* control) const;
    Control* ControlOf(const QObject* widget) const;
    QTabWidget* tabs() const { return tabs_; }

    // Twips to pixels, at 15 per pixel on a 96 dpi screen, scaled with the screen.
    int Pixels(int twips) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void Build();
    QWidget* Create(Control& control, QWidget* parent);
    void Place(Control& control, QWidget* widget);
    // Keeps a label's caption or picture clear of what its neighbours draw.
    void FitCaption(Control& control, QLabel* label);
    void Connect(Control& control, QWidget* widget);
    void Sync(Control* control, Property property);
    void SyncAll(Control& control);
    void OnFocusChanged(QWidget* now);

    App& app_;
    QTabWidget* tabs_ = nullptr;
    int pageTop_ = 0;
    double scale_ = 1.0;
    std::map<const Control*, QWidget*> widgets_;
    QHash<const QObject*, Control*> controls_;
    bool updating_ = false;  // the model is being drawn: widget signals are not input
    // The model outlives the window: the handler stops with the window's members.
    Connection changed_;
    QMetaObject::Connection focusChanged_;
};

}  // namespace velmo

#pragma once

// The platform services that need the window toolkit, on Qt 6.

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>
#include <map>
#include <memory>

#include "platform/ports.h"
#include "ui/model/controls.h"

class QAbstractNativeEventFilter;
class QAction;
class QMenu;
class QWidget;

namespace velmo {

struct App;
class Control;

class QtMessageBox : public MessageBoxPort {
  public:
    // Message boxes are centred on the window while it is shown.
    void SetWindow(QWidget* window) { window_ = window; }
    Answer Show(const Text& text, const MessageStyle& style, const Text& title) override;

  private:
    QPointer<QWidget> window_;
};

class QtFileDialog : public FileDialogPort {
  public:
    void SetWindow(QWidget* window) { window_ = window; }
    std::optional<Text> OpenFile(const Text& initial, const FileFilters& filters, const Text& title,
                                 FileChoice choice) override;

  private:
    QPointer<QWidget> window_;
};

class QtClipboard : public ClipboardPort {
  public:
    void SetText(const Text& text) override;
};

// The notification-area icon. Qt 6.4 picks how to host it once, when the
// first icon is made: over D-Bus (StatusNotifierItem) if a StatusNotifier host
// is registered then, else as an XEmbed tray icon. The icon is therefore made
// only once one of the two is there, and a host that comes later is picked up.
class QtNotifyIcon : public QObject, public NotifyIconPort {
  public:
    QtNotifyIcon();
    ~QtNotifyIcon() override;
    // The program whose tray events and menu this icon serves.
    void Attach(App& app);

    bool Available() override;
    void Add(const std::string& icon, const Text& tip) override;
    void Remove() override;
    void PopupMenu() override;
    IconClick OpenCloseClick() override;

    // The icon, or null while the desktop has no notification area yet.
    QSystemTrayIcon* tray() { return tray_.get(); }
    bool statusNotifier() const { return statusNotifier_; }

  private:
    void Create();
    void Show();
    void BuildMenu(QMenu& menu, const Control* parent);

    App* app_ = nullptr;
    std::unique_ptr<QMenu> menu_;
    std::map<const Control*, QAction*> actions_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    bool statusNotifier_ = false;
    bool shown_ = false;   // added and not removed
    bool inMenu_ = false;  // the XEmbed menu's own loop runs
    QString tip_;
    std::unique_ptr<QAbstractNativeEventFilter> xembedWatch_;
    // The model may outlive this object.
    Connection changed_;
};

class QtBrowser : public BrowserPort {
  public:
    bool Open(const Text& address) override;
};

// Leaves every running event loop: QApplication::exec() returns. A request
// made while start-up still runs (an end request answered in a message box's
// loop) is kept, since exec() would forget it: see Quitting().
class QtEventLoop : public EventLoopPort {
  public:
    void Quit() override;
    bool Quitting() const { return quitting_; }

  private:
    bool quitting_ = false;
};

}  // namespace velmo

#include "qt/qt_ports.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusServiceWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

#include "platform/file_text.h"
#include "platform/path_style.h"
#include "qt/conversions.h"
#include "qt/pictures.h"
#include "qt/qt_text.h"
#include "qt/xcb.h"
#include "ui/app.h"
#include "ui/front_end.h"
#include "ui/tray.h"

namespace velmo {

Answer QtMessageBox::Show(const Text& text, const MessageStyle& style, const Text& title) {
    const MessageBoxLook look = LookOfStyle(style);
    QString body = ToQString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QWidget* parent = window_ && window_->isVisible() ? window_.data() : nullptr;
    QMessageBox box(look.icon, ToQString(MessageTitle(title)), body, look.buttons, parent);
    box.setDefaultButton(look.defaultButton);
    box.setEscapeButton(look.escapeButton);
    box.setWindowIcon(ProgramIcon());
    box.exec();
    const auto pressed = box.clickedButton() != nullptr ? box.standardButton(box.clickedButton())
                                                        : look.escapeButton;
    return AnswerOf(pressed);
}

std::optional<Text> QtFileDialog::OpenFile(const Text& initial, const FileFilters& filters,
                                           const Text& title, FileChoice choice) {
    QWidget* parent = window_ && window_->isVisible() ? window_.data() : nullptr;
    QFileDialog dialog(parent, ToQString(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(choice == FileChoice::ExistingOrNew ? QFileDialog::AnyFile
                                                           : QFileDialog::ExistingFile);
    dialog.setNameFilter(ToQtFilter(filters));
    const DialogStart start = StartOfDialog(
        initial, NativePathStyle(),
        [](const Text& path) { return QFileInfo(ToQString(path)).isDir(); },
        FromQString(QDir::homePath()));
    dialog.setDirectory(ToQString(start.folder));
    if (!start.fileName.empty())
        dialog.selectFile(ToQString(start.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FromQString(dialog.selectedFiles().first());
}

void QtClipboard::SetText(const Text& text) {
    // Pasted into other programs: the platform's own line ends.
    QApplication::clipboard()->setText(ToQString(NativeLineEnds(text)), QClipboard::Clipboard);
}

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

// The test Qt 6.4 makes, once per process, to host icons over D-Bus: a
// StatusNotifier watcher that knows of a host (a panel that shows items).
bool StatusNotifierHostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcherService))
        return false;
    QDBusInterface watcher(kWatcherService, kWatcherPath, kWatcherService, bus);
    return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
}

// The selection an XEmbed tray of the first screen owns.
constexpr char kTraySelection[] = "_NET_SYSTEM_TRAY_S0";

// Hears an XEmbed tray announce itself on the X display (the MANAGER message
// a new selection owner sends to the root window). `appeared` runs on
// `receiver`'s behalf, and not once the receiver is gone.
class XEmbedTrayWatch : public QAbstractNativeEventFilter {
  public:
    XEmbedTrayWatch(xcb_atom_t manager, xcb_atom_t tray, QObject* receiver,
                    std::function<void()> appeared)
        : manager_(manager), tray_(tray), receiver_(receiver), appeared_(std::move(appeared)) {}
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* client = static_cast<const xcb_client_message_event_t*>(message);
        if (client->type == manager_ && client->format == 32 && client->data.data32[1] == tray_ &&
            appeared_) {
            // Made after Qt has seen the message itself.
            QTimer::singleShot(0, receiver_, appeared_);
        }
        return false;
    }

  private:
    xcb_atom_t manager_;
    xcb_atom_t tray_;
    QObject* receiver_;
    std::function<void()> appeared_;
};

IconClick ClickOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            return IconClick::Single;
        case QSystemTrayIcon::DoubleClick:
            return IconClick::Double;
        case QSystemTrayIcon::MiddleClick:
            return IconClick::Middle;
        default:
            return IconClick::Context;
    }
}

}  // namespace

QtNotifyIcon::QtNotifyIcon() = default;

QtNotifyIcon::~QtNotifyIcon() {
    changed_.Disconnect();
    if (xembedWatch_)
        qApp->removeNativeEventFilter(xembedWatch_.get());
    tray_.reset();
}

void QtNotifyIcon::Attach(App& app) {
    app_ = &app;
    menu_ = std::make_unique<QMenu>();
    menu_->setObjectName(QStringLiteral("mnuTray"));
    BuildMenu(*menu_, &app.form.mnuTray);
    // The items change in place, so that a desktop that shows the exported
    // menu keeps their identities.
    changed_ = app.form.Changed.Connect([this](Control* control, Property property) {
        const auto it = actions_.find(control);
        if (it == actions_.end())
            return;
        auto* item = control->As<MenuItem>();
        if (property == Property::Caption)
            it->second->setText(ToQString(item->Caption.get()));
        else if (property == Property::Visible)
            it->second->setVisible(item->Visible);
        else if (property == Property::Enabled)
            it->second->setEnabled(item->Enabled);
    });

    // A notification area that comes after the program: a StatusNotifier
    // watcher and its host over D-Bus, or an XEmbed tray on the X display.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        auto* services = new QDBusServiceWatcher(kWatcherService, bus,
                                                 QDBusServiceWatcher::WatchForRegistration, this);
        QObject::connect(services, &QDBusServiceWatcher::serviceRegistered, this,
                         [this] { Create(); });
        // A QTimer's start() is the slot a D-Bus signal can reach without moc.
        auto* hostRegistered = new QTimer(this);
        hostRegistered->setSingleShot(true);
        hostRegistered->setInterval(0);
        QObject::connect(hostRegistered, &QTimer::timeout, this, [this] { Create(); });
        bus.connect(QString(), kWatcherPath, kWatcherService,
                    QStringLiteral("StatusNotifierHostRegistered"), hostRegistered, SLOT(start()));
    }
    if (const Xcb xcb; xcb.usable()) {
        xembedWatch_ = std::make_unique<XEmbedTrayWatch>(
            xcb.Atom("MANAGER"), xcb.Atom(kTraySelection), this, [this] { Create(); });
        qApp->installNativeEventFilter(xembedWatch_.get());
    }
}

void QtNotifyIcon::BuildMenu(QMenu& menu, const Control* parent) {
    for (Control* c : app_->form.Controls()) {
        auto* item = c->As<MenuItem>();
        if (item == nullptr || item->Container != parent)
            continue;
        bool hasChildren = false;
        for (Control* other : app_->form.Controls())
            hasChildren = hasChildren || other->Container == item;
        QAction* action = nullptr;
        if (item->IsSeparator()) {
            action = menu.addSeparator();
        } else if (hasChildren) {
            QMenu* sub = menu.addMenu(ToQString(item->Caption.get()));
            sub->setObjectName(QString::fromStdString(item->Name));
            BuildMenu(*sub, item);
            action = sub->menuAction();
        } else {
            action = menu.addAction(ToQString(item->Caption.get()));
            QObject::connect(action, &QAction::triggered, [item] { item->Click(); });
        }
        action->setObjectName(QString::fromStdString(item->Name));
        action->setVisible(item->Visible);
        action->setEnabled(item->Enabled);
        actions_[item] = action;
    }
}

// Makes the icon once a notification area is there, and shows it if the
// program has added it. Qt decides how to host it now, and for good.
void QtNotifyIcon::Create() {
    if (tray_) {
        return;
    }
    const bool statusNotifier = StatusNotifierHostRegistered();
    if (!statusNotifier) {
        const Xcb xcb;
        // Without a way to ask the X server, Qt's own test decides as it did.
        const bool xembed = QGuiApplication::platformName() == QLatin1String("xcb") &&
                            (!xcb.usable() || xcb.Owned(xcb.Atom(kTraySelection)));
        if (!xembed)
            return;
    }
    statusNotifier_ = statusNotifier;
    tray_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(tray_.get(), &QSystemTrayIcon::activated, this,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (app_ != nullptr && reason != QSystemTrayIcon::Unknown)
                             TrayIconClicked(*app_, ClickOf(reason));
                     });
    // A StatusNotifier host shows the exported menu itself. An XEmbed tray
    // would open a set menu on its own as well as report the click, so there
    // the program opens it.
    if (statusNotifier_ && menu_)
        tray_->setContextMenu(menu_.get());
    if (shown_)
        Show();
}

void QtNotifyIcon::Show() {
    // The installed theme icon by name, so that a StatusNotifier host can
    // draw it at its own size; the drawn one where Velmo is not installed.
    tray_->setIcon(QIcon::fromTheme(QStringLiteral("velmo"), ProgramIcon()));
    tray_->setToolTip(tip_);
    tray_->show();
}

bool QtNotifyIcon::Available() {
    if (!tray_)
        Create();
    if (!tray_)
        return false;
    // Qt's own test opens a new bus connection each time.
    return statusNotifier_ ? StatusNotifierHostRegistered()
                           : QSystemTrayIcon::isSystemTrayAvailable();
}

void QtNotifyIcon::Add(const std::string&, const Text& tip) {
    tip_ = ToQString(tip);
    shown_ = true;
    if (!tray_)
        Create();
    // An XEmbed icon is shown even while the tray is away: it appears when
    // the tray comes back.
    if (tray_)
        Show();
}

void QtNotifyIcon::Remove() {
    shown_ = false;
    if (!tray_)
        return;
    // Hiding an XEmbed icon deletes its widget, whose mouse handler opened
    // the menu and is still running below the menu's loop: from an item of
    // the menu (Quit) the icon goes once that handler has returned, or with
    // this object at the program's end, whichever comes first.
    if (inMenu_) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!shown_ && tray_)
                    tray_->hide();
            },
            Qt::QueuedConnection);
        return;
    }
    tray_->hide();
}

void QtNotifyIcon::PopupMenu() {
    if (!menu_)
        return;
    if (statusNotifier_) {
        // Asked for in a D-Bus call that waits for its answer: open and return.
        menu_->popup(QCursor::pos());
        return;
    }
    // Runs its own event loop until the menu closes.
    inMenu_ = true;
    menu_->exec(QCursor::pos());
    inMenu_ = false;
}

IconClick QtNotifyIcon::OpenCloseClick() {
    return statusNotifier_ ? IconClick::Single : IconClick::Double;
}

void QtEventLoop::Quit() {
    quitting_ = true;
    QCoreApplication::exit(0);
}

bool QtBrowser::Open(const Text& address) {
    return QDesktopServices::openUrl(QUrl(ToQString(address)));
}

}  // namespace velmo

#include "ui/qt/qt_ports.h"

#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QUrl>
#include <cmath>
#include <csignal>

#include "core/app.h"
#include "ui/qt/conversions.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qt_text.h"
#include "ui/tray.h"

namespace velmo {

int QtMessageBox::Show(const Text& text, int style, const Text& title) {
    const MessageBoxLook look = LookOfStyle(style);
    QString body = ToQString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QWidget* parent = window_ && window_->isVisible() ? window_.data() : nullptr;
    QMessageBox box(look.icon, title.empty() ? QStringLiteral("Velmo") : ToQString(title), body,
                    look.buttons, parent);
    box.setDefaultButton(look.defaultButton);
    box.setEscapeButton(look.escapeButton);
    box.setWindowIcon(ProgramIcon());
    box.exec();
    const auto pressed = box.clickedButton() != nullptr ? box.standardButton(box.clickedButton())
                                                        : look.escapeButton;
    return AnswerOf(pressed);
}

std::optional<Text> QtFileDialog::OpenFile(const Text& initial, const Text& filter,
                                           const Text& title) {
    QWidget* parent = window_ && window_->isVisible() ? window_.data() : nullptr;
    QFileDialog dialog(parent, ToQString(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(title == newNameTitle_ ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(ToQtFilter(filter));
    // The folder of a full initial path when it exists, else the home folder:
    // never the process's current folder, where a bare name would land.
    const QString start = ToQString(initial);
    const QFileInfo info(start);
    QString folder = QDir::homePath();
    if (info.isAbsolute() && info.isDir()) {
        folder = start;
    } else if (info.isAbsolute() && info.dir().exists()) {
        folder = info.absolutePath();
    }
    dialog.setDirectory(folder);
    if (!start.isEmpty() && !info.isDir())
        dialog.selectFile(info.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FromQString(dialog.selectedFiles().first());
}

void QtClipboard::SetText(const Text& text) {
    QApplication::clipboard()->setText(ToQString(text), QClipboard::Clipboard);
}

BootTimer::BootTimer() {
    fd_ = timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ < 0)
        fd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ >= 0) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        QObject::connect(notifier_, &QSocketNotifier::activated, this, [this] {
            std::uint64_t expirations = 0;
            if (::read(fd_, &expirations, sizeof expirations) < 0)
                return;
            auto due = std::move(due_);
            due_ = nullptr;
            if (due)
                due();
        });
    }
}

BootTimer::~BootTimer() {
    if (fd_ >= 0)
        ::close(fd_);
}

void BootTimer::Start(double seconds, std::function<void()> due) {
    due_ = std::move(due);
    if (fd_ < 0)
        return;
    // Zero disarms a timerfd; "at once" is the shortest real wait instead.
    const double wait = std::max(seconds, 1e-6);
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(std::floor(wait));
    when.it_value.tv_nsec = static_cast<long>((wait - std::floor(wait)) * 1e9);
    if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0)
        when.it_value.tv_nsec = 1;
    timerfd_settime(fd_, 0, &when, nullptr);
}

void BootTimer::Stop() {
    due_ = nullptr;
    if (fd_ < 0)
        return;
    itimerspec off{};
    timerfd_settime(fd_, 0, &off, nullptr);
}

QtNotifyIcon::QtNotifyIcon() {
    QObject::connect(&tray_, &QSystemTrayIcon::activated, this,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (app_ == nullptr)
                             return;
                         if (reason == QSystemTrayIcon::DoubleClick) {
                             TrayIconEvent(*app_, kLeftDoubleClick);
                         } else if (reason == QSystemTrayIcon::Context) {
                             TrayIconEvent(*app_, kRightButtonUp);
                         }
                     });
}

bool QtNotifyIcon::Available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtNotifyIcon::Add(const std::string&, const Text& tip) {
    tray_.setIcon(ProgramIcon());
    tray_.setToolTip(ToQString(tip));
    // Shown even without a notification area: it appears when one does.
    tray_.show();
}

void QtNotifyIcon::Remove() {
    tray_.hide();
}

namespace {

void AddItems(QMenu& menu, App& app, const Control* parent) {
    for (Control* c : app.form.Controls()) {
        auto* item = c->As<MenuItem>();
        if (item == nullptr || item->Container != parent || !item->Visible)
            continue;
        if (item->IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        bool hasChildren = false;
        for (Control* other : app.form.Controls())
            hasChildren = hasChildren || other->Container == item;
        if (hasChildren) {
            QMenu* sub = menu.addMenu(ToQString(item->Caption.get()));
            sub->setObjectName(QString::fromStdString(item->Name));
            AddItems(*sub, app, item);
            continue;
        }
        QAction* action = menu.addAction(ToQString(item->Caption.get()));
        action->setObjectName(QString::fromStdString(item->Name));
        action->setEnabled(item->Enabled);
        QObject::connect(action, &QAction::triggered, [item] { item->Click(); });
    }
}

}  // namespace

void QtNotifyIcon::PopupMenu() {
    if (app_ == nullptr)
        return;
    QMenu menu;
    menu.setObjectName(QStringLiteral("TrayMenu"));
    AddItems(menu, *app_, &app_->form.TrayMenu);
    // Runs its own event loop until the menu closes.
    menu.exec(QCursor::pos());
}

void QtBrowser::Open(const Text& address) {
    QDesktopServices::openUrl(QUrl(ToQString(address)));
}

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

SignalHandler::SignalHandler(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    QObject::connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
        if (onSignal_)
            onSignal_();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

SignalHandler::~SignalHandler() {
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
}

}  // namespace velmo

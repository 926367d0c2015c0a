#include "qt/task_bar.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace velmo {

namespace {

constexpr xcb_atom_t kNoAtom = XCB_ATOM_NONE;

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_intern_atom_cookie_t AskAtom(xcb_connection_t* c, const char* name) {
    return xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
}

xcb_atom_t AtomOf(xcb_connection_t* c, xcb_intern_atom_cookie_t cookie) {
    const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : kNoAtom;
}

}  // namespace

// On X11 this is the EWMH _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER.
// On Wayland there is nothing to ask: xdg-shell has no such state, and the
// compositor decides.
void ListOnTaskBar(QWidget& window, bool listed) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr)
        return;
    xcb_connection_t* c = x11->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_intern_atom_cookie_t stateCookie = AskAtom(c, "_NET_WM_STATE");
    const xcb_intern_atom_cookie_t taskBarCookie = AskAtom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_intern_atom_cookie_t pagerCookie = AskAtom(c, "_NET_WM_STATE_SKIP_PAGER");
    const xcb_query_tree_cookie_t treeCookie = xcb_query_tree(c, id);
    const xcb_atom_t state = AtomOf(c, stateCookie);
    const xcb_atom_t skips[] = {AtomOf(c, taskBarCookie), AtomOf(c, pagerCookie)};
    const ReplyPtr<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, treeCookie, nullptr));
    if (!tree || state == kNoAtom || skips[0] == kNoAtom || skips[1] == kNoAtom)
        return;

    if (window.isVisible()) {
        // A managed window: its state belongs to the window manager, which
        // takes a request sent to the root window.
        constexpr uint32_t kRemove = 0;
        constexpr uint32_t kAdd = 1;
        constexpr uint32_t kFromApplication = 1;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = state;
        message.data.data32[0] = listed ? kRemove : kAdd;
        message.data.data32[1] = skips[0];
        message.data.data32[2] = skips[1];
        message.data.data32[3] = kFromApplication;
        xcb_send_event(c, 0, tree->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    } else {
        // A window not yet mapped carries the state it asks for; Qt keeps what
        // it finds there when it maps the window.
        std::vector<xcb_atom_t> atoms;
        const ReplyPtr<xcb_get_property_reply_t> old(xcb_get_property_reply(
            c, xcb_get_property(c, 0, id, state, XCB_ATOM_ATOM, 0, 1024), nullptr));
        if (old && old->format == 32 && old->type == XCB_ATOM_ATOM) {
            const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(old.get()));
            const int count = xcb_get_property_value_length(old.get()) / 4;
            for (int i = 0; i < count; ++i) {
                if (values[i] != skips[0] && values[i] != skips[1])
                    atoms.push_back(values[i]);
            }
        }
        if (!listed)
            atoms.insert(atoms.end(), std::begin(skips), std::end(skips));
        if (atoms.empty()) {
            xcb_delete_property(c, id, state);
        } else {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                                static_cast<uint32_t>(atoms.size()), atoms.data());
        }
    }
    xcb_flush(c);
}

}  // namespace velmo

#include "qt/task_bar.h"

#include <QWidget>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "qt/xcb.h"

namespace velmo {

// On X11 this is the EWMH _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER.
// On Wayland there is nothing to ask: xdg-shell has no such state, and the
// compositor decides.
void ListOnTaskBar(QWidget& window, bool listed) {
    const Xcb xcb;
    if (!xcb.usable())
        return;
    xcb_connection_t* c = xcb.connection;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t state = xcb.Atom("_NET_WM_STATE");
    const xcb_atom_t skips[] = {xcb.Atom("_NET_WM_STATE_SKIP_TASKBAR"),
                                xcb.Atom("_NET_WM_STATE_SKIP_PAGER")};
    if (state == XCB_ATOM_NONE || skips[0] == XCB_ATOM_NONE || skips[1] == XCB_ATOM_NONE)
        return;

    if (window.isVisible()) {
        // A managed window: its state belongs to the window manager, which
        // takes a request sent to its screen's root window.
        xcb_query_tree_reply_t* tree = xcb.queryTreeReply(c, xcb.queryTree(c, id), nullptr);
        if (tree == nullptr)
            return;
        const xcb_window_t root = tree->root;
        std::free(tree);
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
        xcb.sendEvent(c, 0, root,
                      XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                      reinterpret_cast<const char*>(&message));
    } else {
        // A window not yet mapped carries the state it asks for; Qt keeps what
        // it finds there when it maps the window.
        std::vector<xcb_atom_t> atoms;
        xcb_get_property_reply_t* old = xcb.getPropertyReply(
            c, xcb.getProperty(c, 0, id, state, XCB_ATOM_ATOM, 0, 1024), nullptr);
        if (old != nullptr && old->format == 32 && old->type == XCB_ATOM_ATOM) {
            const auto* values = static_cast<const xcb_atom_t*>(xcb.propertyValue(old));
            const int count = xcb.propertyValueLength(old) / 4;
            for (int i = 0; i < count; ++i) {
                if (values[i] != skips[0] && values[i] != skips[1])
                    atoms.push_back(values[i]);
            }
        }
        std::free(old);
        if (!listed)
            atoms.insert(atoms.end(), std::begin(skips), std::end(skips));
        if (atoms.empty()) {
            xcb.deleteProperty(c, id, state);
        } else {
            xcb.changeProperty(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                               static_cast<uint32_t>(atoms.size()), atoms.data());
        }
    }
    xcb.flush(c);
}

}  // namespace velmo

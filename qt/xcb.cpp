#include "qt/xcb.h"

#include <dlfcn.h>

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace velmo {

namespace {

template <typename Function>
void Take(void* lib, Function& function, const char* name) {
    function = reinterpret_cast<Function>(dlsym(lib, name));
}

}  // namespace

Xcb::Xcb() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    lib = x11 != nullptr ? dlopen("libxcb.so.1", RTLD_NOW | RTLD_NOLOAD) : nullptr;
    if (lib == nullptr)
        return;
    Take(lib, internAtom, "xcb_intern_atom");
    Take(lib, internAtomReply, "xcb_intern_atom_reply");
    Take(lib, selectionOwner, "xcb_get_selection_owner");
    Take(lib, selectionOwnerReply, "xcb_get_selection_owner_reply");
    Take(lib, queryTree, "xcb_query_tree");
    Take(lib, queryTreeReply, "xcb_query_tree_reply");
    Take(lib, getProperty, "xcb_get_property");
    Take(lib, getPropertyReply, "xcb_get_property_reply");
    Take(lib, propertyValue, "xcb_get_property_value");
    Take(lib, propertyValueLength, "xcb_get_property_value_length");
    Take(lib, changeProperty, "xcb_change_property");
    Take(lib, deleteProperty, "xcb_delete_property");
    Take(lib, sendEvent, "xcb_send_event");
    Take(lib, flush, "xcb_flush");
    connection = x11->connection();
}

Xcb::~Xcb() {
    if (lib != nullptr)
        dlclose(lib);
}

bool Xcb::usable() const {
    return connection != nullptr && internAtom != nullptr && internAtomReply != nullptr &&
           selectionOwner != nullptr && selectionOwnerReply != nullptr && queryTree != nullptr &&
           queryTreeReply != nullptr && getProperty != nullptr && getPropertyReply != nullptr &&
           propertyValue != nullptr && propertyValueLength != nullptr &&
           changeProperty != nullptr && deleteProperty != nullptr && sendEvent != nullptr &&
           flush != nullptr;
}

xcb_atom_t Xcb::Atom(const char* name) const {
    const auto cookie =
        internAtom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = internAtomReply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

bool Xcb::Owned(xcb_atom_t selection) const {
    const auto cookie = selectionOwner(connection, selection);
    xcb_get_selection_owner_reply_t* reply = selectionOwnerReply(connection, cookie, nullptr);
    const bool owned = reply != nullptr && reply->owner != XCB_WINDOW_NONE;
    std::free(reply);
    return owned;
}

}  // namespace velmo

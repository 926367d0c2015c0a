#pragma once

// The X server, on the connection Qt's X11 platform plugin opened.

#include <xcb/xcb.h>

namespace velmo {

// libxcb is loaded by Qt's xcb platform plugin; its functions are taken from
// there, so that the program asks the X server without a library of its own.
// Not usable where Qt draws on another platform (Wayland, offscreen).
struct Xcb {
    decltype(&xcb_intern_atom) internAtom = nullptr;
    decltype(&xcb_intern_atom_reply) internAtomReply = nullptr;
    decltype(&xcb_get_selection_owner) selectionOwner = nullptr;
    decltype(&xcb_get_selection_owner_reply) selectionOwnerReply = nullptr;
    decltype(&xcb_query_tree) queryTree = nullptr;
    decltype(&xcb_query_tree_reply) queryTreeReply = nullptr;
    decltype(&xcb_get_property) getProperty = nullptr;
    decltype(&xcb_get_property_reply) getPropertyReply = nullptr;
    decltype(&xcb_get_property_value) propertyValue = nullptr;
    decltype(&xcb_get_property_value_length) propertyValueLength = nullptr;
    decltype(&xcb_change_property) changeProperty = nullptr;
    decltype(&xcb_delete_property) deleteProperty = nullptr;
    decltype(&xcb_send_event) sendEvent = nullptr;
    decltype(&xcb_flush) flush = nullptr;
    xcb_connection_t* connection = nullptr;
    void* lib = nullptr;

    Xcb();
    ~Xcb();
    Xcb(const Xcb&) = delete;
    Xcb& operator=(const Xcb&) = delete;
    bool usable() const;
    // The atom of this name; XCB_ATOM_NONE where the server did not answer.
    xcb_atom_t Atom(const char* name) const;
    // Whether a client owns the selection.
    bool Owned(xcb_atom_t selection) const;
};

}  // namespace velmo

#pragma once
// Small operations that every dialog performs on its controls: filling a
// combo box or a list box from a list of texts, enabling and showing
// controls by identifier, the window a new dialog is owned by, and the size
// a dialog can be shown at on this screen.
#include <initializer_list>

#include "platform/core/krv_array.h"
#include "platform/win/win_types.h"

class CWnd;
class CDialog;
class CComboBox;
class CListBox;

// Replaces the items of `combo` by `items`, in order (a sorting box sorts
// them), and selects the item at `select` of the filled box; any index that
// is not an item's (-1 as a rule) leaves nothing selected. A box with an
// edit field shows the selected item's text, or nothing. False, and nothing
// changed, when `combo` is null or not created.
bool FillCombo(CComboBox* combo, const Krv_StringArray& items, int select = -1);
// The same for the combo box with identifier `id` among the children of
// `dialog`; false when there is no such combo box.
bool FillCombo(CWnd* dialog, int id, const Krv_StringArray& items, int select = -1);

// Replaces the items of `list` by `items` and selects the item at `select`
// (in a box with multiple selection that item alone). False, and nothing
// changed, when `list` is null or not created.
bool FillList(CListBox* list, const Krv_StringArray& items, int select = -1);
bool FillList(CWnd* dialog, int id, const Krv_StringArray& items, int select = -1);

// Enables (`enable` true) or disables the control `id` of `dialog`. A
// control that loses its enabled state while it has the keyboard focus
// hands the focus to the dialog's next tab stop, so that the keyboard keeps
// working. False when `dialog` has no such control.
bool EnDisCtrl(CWnd* dialog, int id, bool enable);
// The same for several controls; false when any of them is missing (the
// others are still changed).
bool EnDisCtrl(CWnd* dialog, std::initializer_list<int> ids, bool enable);

// Hides the control `id` of `dialog` when `show` is 0 and shows it
// otherwise; a hidden control hands on the keyboard focus as EnDisCtrl
// does. False when `dialog` has no such control.
bool ShowOrHideCtrl(CWnd* dialog, int id, int show);
bool ShowOrHideCtrl(CWnd* dialog, std::initializer_list<int> ids, int show);

// The window a dialog or message box opened now is to be owned by, so that
// it stays in front of what the person works in: the top-level window that
// holds the keyboard focus when it is visible and enabled (a running modal
// dialog, a modeless window), else the host's main window; null when
// neither exists.
CWnd* getDlgOwner();

// The size, in pixels, at which the dialog of template `templateId` can be
// shown on this screen: its designed size (the template is looked up in the
// current resource module, then in the resource chain), each side limited
// to the screen's. False, with `width` and `height` unchanged, when the
// template cannot be found or read or gives no size (callers pass their
// default in).
bool getSafeDlgSize(UINT templateId, int& width, int& height);
// The same for the template that `dialog` is built from.
bool getSafeDlgSize(const CDialog* dialog, int& width, int& height);

#pragma once

#include "app/LanguageEdit2Uni.h"

#include "dialogs/AddUni.h"
#include "dialogs/EditNameForm.h"
#include "dialogs/EditUni.h"
#include "dialogs/FindReplaceDialog.h"
#include "dialogs/GoToForm.h"

namespace app {

// The windows of a run, created in the order of the design: the main window,
// then the Edit dialog, then the Add dialog, then the dialogs that came
// later. They live as long as this object and go in the reverse order, the
// dialogs before the window they serve.
struct EditorForms {
    EditorForms();

    TFormXom FormXom;
    dialogs::TEditForm EditForm;
    dialogs::TAddForm AddForm;
    dialogs::FindReplaceDialog FindReplace;
    dialogs::EditNameForm EditNameForm;
    dialogs::GoToForm GoToForm;
};

} // namespace app

#include "app/EditorForms.h"

namespace app {

EditorForms::EditorForms()
    : EditForm(FormXom)
    , FindReplace(FormXom, &FormXom)
    , EditNameForm(FormXom)
{
    FormXom.attachDialogs(EditForm, AddForm);
    FormXom.attachFindReplace(FindReplace);
    FormXom.attachEntryDialogs(EditNameForm, GoToForm);
}

} // namespace app

#include "app/EditorForms.h"

namespace app {

EditorForms::EditorForms()
    : EditForm(FormXom)
    , FindReplace(FormXom, &FormXom)
{
    FormXom.attachDialogs(EditForm, AddForm);
    FormXom.attachFindReplace(FindReplace);
}

} // namespace app

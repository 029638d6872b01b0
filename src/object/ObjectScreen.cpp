#include "object/ObjectScreen.h"

void ObjectScreen::init() {
    type_ = ObjectType::OBJECT_SCREEN;
}

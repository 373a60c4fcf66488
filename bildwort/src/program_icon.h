// The program's icon, drawn in code: four picture tiles with a letter "B".
#pragma once

#include <QIcon>

namespace bildwort {

QIcon ProgramIcon();

}  // namespace bildwort

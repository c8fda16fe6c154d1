#include "toolkit/resizable.h"

namespace toolkit {

wResizable::wResizable()
    : left_(solver::makeVariable(0.0)),
      top_(solver::makeVariable(0.0)),
      width_(solver::makeVariable(0.0)),
      height_(solver::makeVariable(0.0)) {}

}  // namespace toolkit

// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store_problems.h"

#include <algorithm>

namespace numora {

void StoreProblems::Post(StoreProblem problem) {
  if (std::find(waiting_.begin(), waiting_.end(), problem) != waiting_.end()) return;
  waiting_.push_back(std::move(problem));
  if (listener_) listener_();
}

std::vector<StoreProblem> StoreProblems::Take() {
  return std::exchange(waiting_, {});
}

}  // namespace numora

// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the resources of a dynamically loaded module (the reading game's
// picture library). A module brings its resources as compiled-in Qt resources
// under its own prefix, ":/<module>/<type>/<name>", which Qt registers while
// the module is loaded and drops when it is unloaded.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace zelv {

// The resource path for a module's resource, or an empty string when one of
// the parts is empty or could step outside the module's prefix ("/", "\",
// "." or "..").
QString ModuleResourcePath(const QString& module, const QString& type, const QString& name);

// The bytes of a named resource, copied, so they stay valid after the module
// is unloaded; std::nullopt when the module holds no such resource.
std::optional<QByteArray> ReadModuleResource(const QString& module, const QString& type,
                                             const QString& name);

// The same for a numbered resource (bitmap 1, 2, ...); numbers below 1 do
// not exist.
std::optional<QByteArray> ReadModuleResource(const QString& module, const QString& type, int id);

}  // namespace zelv

#pragma once

// The aliases of the custom fields as the "   19" layout stores them: one Props item for the
// tasks and one for the resources, each a fixed header followed by one zero-terminated UTF-16
// text per slot, the slots in a fixed order of fields. The later layouts keep aliases where
// they are not read yet.

#include "mppr/project.h"

namespace mppr {

class PropsBlock;

QVector<CustomFieldDefinition> readCustomFieldAliases9(const PropsBlock &props);
// One entity's item; exposed for the tests.
QVector<CustomFieldDefinition> customFieldAliasesFromItem(const QByteArray &item,
                                                          CustomFieldEntity entity);

} // namespace mppr

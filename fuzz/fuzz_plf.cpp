// libFuzzer entry point: a Primavera P6 layout file (.plf) as the Import command reads it: the
// view data tree, the layout taken from it and the layout document made of that.

#include "app/layoutdocument.h"
#include "app/layoutstore.h"
#include "app/p6confignode.h"
#include "app/p6layoutimporter.h"
#include "fuzz/fuzzsupport.h"

#include <QJsonDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Every node once; a parsed tree is never deeper than the parser allows.
int depthOf(const P6ConfigNode::Pointer &node, int depth)
{
    if (depth > P6ConfigNode::MaxDepth + 1)
        std::abort();
    int deepest = depth;
    for (const P6ConfigNode::Pointer &child : node->children) {
        if (child->parent.toStrongRef() != node)
            std::abort();
        deepest = qMax(deepest, depthOf(child, depth + 1));
    }
    return deepest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::quietLogging();
    static const P6LayoutImporter importer;
    static const QString templateDocument = LayoutStore::builtInDefaultDocument();

    // As P6LayoutImporter::readFile() turns the file into text.
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    depthOf(parseP6ViewData(text), 0);

    P6Layout layout;
    const QVariantMap view { { QStringLiteral("VIEW_ID"), 0 },
                             { QStringLiteral("VIEW_NAME"), QStringLiteral("fuzz") },
                             { QStringLiteral("VIEW_DATA"), text } };
    if (importer.importView(view, &layout) == P6LayoutImporter::Status::Ok) {
        if (layout.columns.isEmpty())
            std::abort();
        const QString document = LayoutDocument::fromP6Layout(templateDocument, layout);
        if (!QJsonDocument::fromJson(document.toUtf8()).isObject())
            std::abort();
    }
    return 0;
}

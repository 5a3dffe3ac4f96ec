#include "install/JsonEdit.h"

#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>

using varrow::install::JsonEdit;

TEST(JsonEdit, OnlyTheEditedValuesChangeInTheText) {
    // Strings holding braces, quotes and escapes must not confuse where members end.
    const QByteArray package =
        "{\n  \"name\": \"a \\\"}{\\\" b\",\n  \"build\": {\"files\": [\"x}\", {\"y\": 1}]},\n  \"main\": "
        "\"m.js\"\n}\n";
    EXPECT_EQ(
        JsonEdit::apply(package, {{{"desktopName"}, "w.desktop"}}),
        QByteArray(package).replace("{\n  \"name\"", "{\n  \"desktopName\": \"w.desktop\",\n  \"name\""));
    EXPECT_EQ(JsonEdit::apply(package, {{{"main"}, "é\"n"}}),
              QByteArray(package).replace("\"m.js\"", "\"é\\\"n\""));

    // Nested members, a duplicated one (set everywhere), an escaped key, an empty object.
    const QByteArray index =
        R"({"files":{"a.js":{"size":1},"package.json":{"size":9,"offset":"0","size":9}},)"
        R"("\u0078":{}})";
    const auto edited = JsonEdit::apply(index, {{{"files", "package.json", "size"}, 120},
                                                {{"files", "package.json", "offset"}, "77"},
                                                {{"x", "new"}, true}});
    EXPECT_EQ(edited, R"({"files":{"a.js":{"size":1},"package.json":{"size":120,"offset":"77","size":120}},)"
                      R"("\u0078":{"new":true}})");
}

TEST(JsonEdit, TextThatCannotBeEditedInPlaceIsWrittenAfreshOrRefused) {
    // "build" is not an object, so the edit makes it one; Qt writes the result.
    const auto edited = JsonEdit::apply(R"({"name":"n","build":3})", {{{"build", "x"}, 1}});
    ASSERT_TRUE(edited);
    EXPECT_EQ(QJsonDocument::fromJson(*edited).object(),
              QJsonObject({{"name", "n"}, {"build", QJsonObject{{"x", 1}}}}));

    EXPECT_FALSE(JsonEdit::apply("[1]", {{{"desktopName"}, "x"}}));
    EXPECT_FALSE(JsonEdit::apply("{\"a\":", {{{"desktopName"}, "x"}}));
}

#include <gtest/gtest.h>

#include "RowText.h"

using namespace cps;

TEST(RowText, LinesReadBackWithOrWithoutLabels) {
    ChannelRow row{"145.50000", "",     "None", "88.5", QStringLiteral("A\tB\\") + QChar(0x80),
                   "High",      "Wide", "Yes",  "Off",  "Off"};
    const QString line = rowLine(QStringLiteral("Fr"), row);
    EXPECT_EQ(line.count(QLatin1Char('\t')), kColumnCount);
    EXPECT_TRUE(line.contains(QStringLiteral("A\\tB\\\\\\x80")));

    // A spreadsheet's block: CR LF ends, no label column, an empty line at the end.
    QString sheet = line.section(QLatin1Char('\t'), 1) + QStringLiteral("\r\n") + line +
                    QStringLiteral("\r\n\r\n");
    const ParsedRows parsed = parseRowLines(sheet);
    ASSERT_EQ(parsed.badLine, 0);
    ASSERT_EQ(parsed.rows.size(), 2);
    EXPECT_EQ(parsed.rows[0], row);
    EXPECT_EQ(parsed.rows[1], row);
    EXPECT_EQ(parsed.labels, (QStringList{QString(), QStringLiteral("Fr")}));

    const ParsedRows bad = parseRowLines(line + QStringLiteral("\n145.5\tA\n"));
    EXPECT_EQ(bad.badLine, 2);
    EXPECT_EQ(bad.badFields, 2);
    EXPECT_TRUE(bad.rows.isEmpty());
}

// `cps show` and `cps set`: every editor section of the image, on the same field tables and
// rules as the dialogs.
#include "CliCommon.h"
#include "Commands.h"
#include "Field.h"
#include "JsonText.h"
#include "ServiceAccess.h"
#include "Settings.h"
#include "TerminalText.h"

namespace cps::cli {

const char* const kShowHelp =
    "Usage: cps show FILE [SECTION...] [--lang en|zh] [--json]\n\n"
    "Prints each editor section of FILE (all when none is named) as its dialog shows it right\n"
    "after opening, one line per field: SECTION<TAB>FIELD<TAB>VALUE. FIELD is the English\n"
    "label; VALUE is the text in the chosen language (default: the program's language);\n"
    "check boxes show On or Off. --json prints one object with a member per section.\n";

const char* const kShowHelpZh =
    "用法：cps show 文件 [区...] [--lang en|zh] [--json]\n"
    "\n"
    "按对话框刚打开时的显示，打印文件的各编辑区（未指定时打印全部），每个字段一行：\n"
    "区<TAB>字段<TAB>值。字段是英文标签；值是所选语言的文本（默认：程序的语言）；\n"
    "复选框显示 On 或 Off。--json 打印一个对象，每个区一个成员。\n";

const char* const kSetHelp =
    "Usage: cps set FILE -o OUT SECTION FIELD=VALUE [FIELD=VALUE...] [--access-code CODE]\n\n"
    "Changes the named fields of one section as a user would in its dialog (a list takes an\n"
    "item's text in either language, an edit takes the text through its character filter and\n"
    "length limit and then applies the dialog's rules on leaving it, a check box takes On or\n"
    "Off), confirms the dialog and writes OUT. Unnamed fields are stored exactly as pressing\n"
    "OK without touching them stores them. An unknown section or field, or a value the field\n"
    "refuses, is exit status 2 and nothing is written. Service sections need --access-code.\n";

const char* const kSetHelpZh =
    "用法：cps set 文件 -o OUT 区 字段=值 [字段=值...] [--access-code 密码]\n"
    "\n"
    "像用户在对话框中那样修改一个区中指定的字段（列表取任一语言的项文本，编辑框经过字符\n"
    "过滤和长度限制后按离开时的规则处理，复选框取 On 或 Off），确认对话框并写出 OUT。未\n"
    "指定的字段的存法与不动它们直接按确定相同。未知的区或字段，或字段拒绝的值，退出状态\n"
    "为 2，不写任何文件。维修区需要 --access-code。\n";

namespace {

QString sectionNames() {
    QStringList names;
    for (const field::Table* t : field::sections()) names << QString::fromUtf8(t->section);
    return names.join(QStringLiteral(", "));
}

QString fieldNames(const field::Table& t) {
    QStringList names;
    for (const field::Field& f : t.fields)
        if (!(f.flags & field::kHidden)) names << QString::fromUtf8(f.key);
    return names.join(QStringLiteral(", "));
}

}  // namespace

int runShow(const QStringList& args, const Settings& context) {
    const Args a = parseArgs(args, {}, {QStringLiteral("--json")});
    if (!a.error.isEmpty()) return usageError("show", a.error);
    if (a.positional.isEmpty()) return usageError("show", say("needs a FILE", "需要一个文件"));
    const bool chinese = context.chinese;  // --lang was taken by main

    std::vector<const field::Table*> chosen;
    for (const QString& name : a.positional.mid(1)) {
        const field::Table* t = field::findTable(name);
        if (!t || t->count != 1)
            return usageError("show",
                              say("unknown section '%1' (sections: %2)", "未知的区 '%1'（区：%2）")
                                  .arg(name, sectionNames()));
        chosen.push_back(t);
    }
    if (chosen.empty()) chosen = field::sections();

    RadioImage image;
    if (!loadImage("show", a.positional.first(), image)) return kFailed;
    field::Env env;
    env.chinese = chinese;
    env.bands = loadBandsInUse(image).bands;

    // Sections and fields in the tables' order, in the text and the JSON alike.
    json::Members sectionsJson;
    QString text;
    for (const field::Table* t : chosen) {
        const field::Form form = field::load(*t, image, env);
        json::Members fields;
        for (size_t i = 0; i < t->fields.size(); ++i) {
            const field::Field& f = t->fields[i];
            if (f.flags & field::kHidden) continue;
            const QString value = form.values[static_cast<int>(i)].trimmed();
            fields.append({QString::fromUtf8(f.key), json::string(value)});
            text += QStringLiteral("%1\t%2\t%3\n")
                        .arg(QString::fromUtf8(t->section), QString::fromUtf8(f.key),
                             terminalText(value));
        }
        sectionsJson.append({QString::fromUtf8(t->section), json::object(fields)});
    }
    if (a.has(QStringLiteral("--json"))) {
        out() << QString::fromUtf8(jsonTerminalSafe(json::object(sectionsJson))) << '\n';
    } else {
        out() << text;
    }
    return kOk;
}

int runSet(const QStringList& args, const Settings&) {
    const Args a = parseArgs(args, {QStringLiteral("-o"), QStringLiteral("--access-code")});
    if (!a.error.isEmpty()) return usageError("set", a.error);
    if (a.positional.size() < 3 || !a.has(QStringLiteral("-o")))
        return usageError("set", say("needs FILE, -o OUT, a SECTION and FIELD=VALUE",
                                     "需要 FILE、-o OUT、一个 SECTION 和 FIELD=VALUE"));
    const field::Table* t = field::findTable(a.positional[1]);
    if (!t || t->count != 1)
        return usageError("set",
                          say("unknown section '%1' (sections: %2)", "未知的区 '%1'（区：%2）")
                              .arg(a.positional[1], sectionNames()));

    // Check every assignment's form before touching anything.
    QList<QPair<int, QString>> assignments;
    for (const QString& assignment : a.positional.mid(2)) {
        const int eq = assignment.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return usageError(
                "set", say("'%1' is not FIELD=VALUE", "'%1' 不是 FIELD=VALUE").arg(assignment));
        const QString key = assignment.left(eq);
        const int index = t->indexOf(key);
        if (index < 0 || (t->fields[static_cast<size_t>(index)].flags & field::kHidden))
            return usageError("set", say("section %1 has no field '%2' (fields: %3)",
                                         "区 %1 没有字段 '%2'（字段：%3）")
                                         .arg(QString::fromUtf8(t->section), key, fieldNames(*t)));
        assignments.append({index, assignment.mid(eq + 1)});
    }
    if (t->needsAccessCode && !accessCodeMatches(a.value(QStringLiteral("--access-code")))) {
        err() << "cps set: "
              << say("Password: section %1 needs the service access code (--access-code)",
                     "密码：区 %1 需要维修密码（--access-code）")
                     .arg(QString::fromUtf8(t->section))
              << '\n';
        return kFailed;
    }

    RadioImage image;
    if (!loadImage("set", a.positional.first(), image)) return kFailed;
    field::Env env;
    // Values are taken in either language; what is reported comes in the run's.
    env.chinese = runChinese();
    env.bands = loadBandsInUse(image).bands;
    field::Form form = field::load(*t, image, env);
    for (const auto& [index, value] : assignments) {
        const field::Field& f = t->fields[static_cast<size_t>(index)];
        const field::Parsed p = field::set(form, index, value);
        if (!p.ok)
            return usageError(
                "set", say("%1 %2: %3", "%1 %2：%3")
                           .arg(QString::fromUtf8(t->section), QString::fromUtf8(f.key), p.why));
        if (p.changed)
            err() << "cps set: "
                  << say("%1 %2: '%3' became '%4'", "%1 %2：'%3' 变为 '%4'")
                         .arg(QString::fromUtf8(t->section), QString::fromUtf8(f.key), value,
                              p.text)
                  << '\n';
    }
    field::store(form, image);
    return saveImage("set", a.value(QStringLiteral("-o")), image) ? kOk : kFailed;
}

}  // namespace cps::cli

// Program.ini as the settings store reads it: every lookup the start-up makes, then a
// change written back, which a second store must read as written.
#include "FuzzTarget.h"
#include "ProfileStore.h"
#include "Scratch.h"

namespace cps::fuzz {

void runOne(const uint8_t* data, size_t size) {
    const QString path = scratchFile("Program.ini", data, size);
    {
        ProfileStore store;
        if (!store.open(path)) return;
        for (const char* key : {"Language", "AppName", "EnableSql", "HelpFile"})
            store.get(QStringLiteral("Setup"), QLatin1String(key));
        for (const char* section : {"English", "Chinese"})
            for (const char* key : {"Title", "Company", "About Title", "Version"})
                store.get(QLatin1String(section), QLatin1String(key));
        store.set(QStringLiteral("Setup"), QStringLiteral("EnableSql"), QStringLiteral("1"));
        store.set(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral("a=b ; c"));
        if (!store.save()) return;
    }
    ProfileStore again;
    require(again.open(path), "the file written opens again");
    require(again.get(QStringLiteral("setup"), QStringLiteral("enablesql")) == QLatin1String("1"),
            "a value set reads back after a save");
    require(again.get(QStringLiteral("Fuzz"), QStringLiteral("Key")) == QLatin1String("a=b ; c"),
            "a new section and key read back after a save");
}

}  // namespace cps::fuzz

// Loading the engine module: its fifteen exports by name, its name, and the clear answers
// for a missing file, a file that is no module, and a module without one of the exports.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "engine/engine_module.h"
#include "support/temp_folder.h"

namespace {

bool allExportsNull(EngineExports e) {
    return forEachEngineExport(e, [](auto& slot, const char*) { return slot == nullptr; });
}

bool allExportsSet(EngineExports e) {
    return forEachEngineExport(e, [](auto& slot, const char*) { return slot != nullptr; });
}

} // namespace

TEST(EngineModule, LoadsFromTheFolderWithEveryExportAndKeepsTheName) {
    CEngineModule module;
    const ModuleLoadResult result = module.load(SCRIPTED_ENGINE_FOLDER);
    ASSERT_EQ(result.status, ModuleLoad::loaded) << result.reason;
    EXPECT_EQ(result.path, std::string(SCRIPTED_ENGINE_FOLDER) + "Tarnwick.pge");
    EXPECT_TRUE(module.isLoaded());
    EXPECT_TRUE(allExportsSet(module.exports()));
    EXPECT_STREQ(module.name().c_str(), "Scripted 1.0");
    module.unload();
    EXPECT_FALSE(module.isLoaded());
    EXPECT_TRUE(allExportsNull(module.exports()));
    EXPECT_STREQ(module.name().c_str(), "");
}

TEST(EngineModule, TheRealEngineLoadsToo) {
    CEngineModule module;
    const ModuleLoadResult result = module.load(TARNWICK_FOLDER);
    ASSERT_EQ(result.status, ModuleLoad::loaded) << result.reason;
    EXPECT_EQ(std::string(module.name().c_str()).rfind("Tarnwick", 0), 0u);
}

TEST(EngineModule, FailuresSayWhatWentWrong) {
    struct Case {
        const char* what;
        const char* content; // of Tarnwick.pge; null: no file
        int32_t errorCode;
    };
    const Case cases[] = {
        {"no file", nullptr, ENOENT},
        {"an empty file", "", ENOEXEC},
        {"a text file", "this is no engine\n", ENOEXEC},
        {"an ELF header and nothing else",
         "\x7f"
         "ELF\x02\x01\x01",
         ENOEXEC},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        if (c.content) folder.write("Tarnwick.pge", c.content);
        CEngineModule module;
        const ModuleLoadResult result = module.load(folder.path());
        EXPECT_EQ(result.status, ModuleLoad::notLoadable) << c.what;
        EXPECT_EQ(result.errorCode, c.errorCode) << c.what;
        EXPECT_EQ(result.path, folder.path() + "Tarnwick.pge") << c.what;
        EXPECT_FALSE(result.reason.empty()) << c.what;
        EXPECT_FALSE(module.isLoaded()) << c.what;
        EXPECT_TRUE(allExportsNull(module.exports())) << c.what;
    }
}

TEST(EngineModule, AModuleWithoutAnExportIsNotUsedAtAll) {
    CEngineModule module;
    ASSERT_EQ(module.load(SCRIPTED_ENGINE_FOLDER).status, ModuleLoad::loaded);
    const ModuleLoadResult result = module.load(INCOMPLETE_ENGINE_FOLDER);
    EXPECT_EQ(result.status, ModuleLoad::missingExport);
    EXPECT_STREQ(result.missingExport, "SetTimeControl");
    EXPECT_FALSE(module.isLoaded());
    EXPECT_TRUE(allExportsNull(module.exports()));
    EXPECT_STREQ(module.name().c_str(), "");
}

TEST(EngineModule, AStaleModuleOfAnOlderInstallationIsDeleted) {
    TempFolder folder;
    folder.write("Tarnwick.dll", "old");
    folder.write("Tarnwick.pge", "new");
    deleteStaleModule(folder.path());
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "Tarnwick.dll"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() + "Tarnwick.pge"));
    deleteStaleModule(folder.path()); // nothing to delete: no harm
}

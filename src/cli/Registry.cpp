#include "cli/Command.h"

namespace hz::cli {

const std::vector<std::unique_ptr<Command>>& Commands()
{
    static const std::vector<std::unique_ptr<Command>> all = [] {
        std::vector<std::unique_ptr<Command>> c;
        c.push_back(makeInfoCommand());
        c.push_back(makeConvertCommand());
        c.push_back(makeSetCommand());
        c.push_back(makeTypesCommand());
        c.push_back(makeDumpCommand());
        c.push_back(makeCompareCommand());
        c.push_back(makeMnemonicCommand());
        c.push_back(makeDiffCommand());
        c.push_back(makeMigrateCommand());
        c.push_back(makeSeriesCommand());
        c.push_back(makeDocCommand());
        c.push_back(makeOverviewCommand());
        c.push_back(makeSheetCommand());
        return c;
    }();
    return all;
}

} // namespace hz::cli

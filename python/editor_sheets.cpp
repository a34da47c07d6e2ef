// Editor methods that add, switch, rename and delete worksheets.
#include "catalogue/catalogue.hpp"
#include "editor.hpp"

namespace qmpy {

namespace {

using SheetName = Param<arg::Text>;

// A name a sheet is given (add, insert, rename) follows the stricter rule; names of existing
// sheets only the lookup rule.
qm::Result<std::string> new_name(std::string_view given) { return qm::check_new_sheet_name(given); }
qm::Result<std::string> existing_name(std::string_view given) { return qm::check_sheet_name(given); }

constexpr EditorMethod add_worksheet{
    "add_worksheet", Access::Edit, Returns::Self,
    Params{SheetName{"sheet_name"}},
    [](qm::EditorState& st, const std::string& given) -> qm::Status {
        auto name = new_name(given);
        if (!name) return qm::fail(std::move(name.error()));
        return qm::add_sheet(st, *name);
    },
};

constexpr EditorMethod add_worksheet_at{
    "add_worksheet_at", Access::Edit, Returns::Self,
    Params{SheetName{"sheet_name"}, Param<arg::Count>{"index"}},
    [](qm::EditorState& st, const std::string& given, std::uint64_t index) -> qm::Status {
        auto name = new_name(given);
        if (!name) return qm::fail(std::move(name.error()));
        return qm::add_sheet_at(st, *name, index);
    },
};

constexpr EditorMethod with_worksheet{
    "with_worksheet", Access::Edit, Returns::Self,
    Params{SheetName{"sheet_name"}},
    [](qm::EditorState& st, const std::string& given) -> qm::Status {
        auto name = existing_name(given);
        if (!name) return qm::fail(std::move(name.error()));
        return qm::switch_sheet(st, *name);
    },
};

constexpr EditorMethod rename_worksheet{
    "rename_worksheet", Access::Edit, Returns::Self,
    Params{SheetName{"old_name"}, SheetName{"new_name"}},
    [](qm::EditorState& st, const std::string& old_given, const std::string& new_given) -> qm::Status {
        auto old_name = existing_name(old_given);
        if (!old_name) return qm::fail(std::move(old_name.error()));
        auto renamed = new_name(new_given);
        if (!renamed) return qm::fail(std::move(renamed.error()));
        return qm::rename_sheet(st, *old_name, *renamed);
    },
};

constexpr EditorMethod delete_worksheet{
    "delete_worksheet", Access::Edit, Returns::Self,
    Params{SheetName{"sheet_name"}},
    [](qm::EditorState& st, const std::string& given) -> qm::Status {
        auto name = existing_name(given);
        if (!name) return qm::fail(std::move(name.error()));
        return qm::delete_sheet(st, *name);
    },
};

}  // namespace

const PyMethodDef add_worksheet_method = editor_entry<add_worksheet>();
const PyMethodDef add_worksheet_at_method = editor_entry<add_worksheet_at>();
const PyMethodDef with_worksheet_method = editor_entry<with_worksheet>();
const PyMethodDef rename_worksheet_method = editor_entry<rename_worksheet>();
const PyMethodDef delete_worksheet_method = editor_entry<delete_worksheet>();

}  // namespace qmpy

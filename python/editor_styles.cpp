// Editor methods that style ranges: number formats, fills, fonts, borders, alignment, merges.
#include "editor.hpp"
#include "styles/layout.hpp"
#include "styles/styles.hpp"

namespace qmpy {

namespace {

using Range = Param<arg::Text>;

// Single-cell fills, fonts and borders wait in the cell queue with single-cell values.
constexpr EditorMethod set_number_format{
    "set_number_format", Access::Edit, Returns::Self,
    Params{Range{"range"}, Param<arg::Text>{"fmt"}},
    [](qm::EditorState& st, const std::string& range, const std::string& code) {
        return qm::set_number_format(st, range, code);
    },
};

constexpr EditorMethod set_fill{
    "set_fill", Access::Queued, Returns::Self,
    Params{Range{"range"}, Param<arg::Text>{"fmt"}},
    [](qm::EditorState& st, const std::string& range, const std::string& colour) {
        return qm::set_fill(st, range, colour);
    },
};

constexpr EditorMethod set_font{
    "set_font", Access::Queued, Returns::Self,
    Params{Range{"range"}, Param<arg::Text>{"name"}, Param<arg::NarrowReal>{"size"}, Param<arg::FlagOrFalse>{"bold"},
           Param<arg::FlagOrFalse>{"italic"}, Param<arg::OptionalAlignment>{"align"}},
    [](qm::EditorState& st, const std::string& range, const std::string& name, float size, bool bold, bool italic,
       const std::optional<qm::Alignment>& align) {
        return qm::set_font(st, range, name, size, bold, italic, align);
    },
};

constexpr EditorMethod set_alignment{
    "set_alignment", Access::Edit, Returns::Self,
    Params{Range{"range"}, Param<arg::Alignment>{"spec"}},
    [](qm::EditorState& st, const std::string& range, const qm::Alignment& spec) {
        return qm::set_alignment(st, range, spec);
    },
};

constexpr EditorMethod merge_cells{
    "merge_cells", Access::Edit, Returns::Self,
    Params{Range{"range"}},
    [](qm::EditorState& st, const std::string& range) { return qm::merge_cells(st, range); },
};

constexpr EditorMethod set_border{
    "set_border", Access::Queued, Returns::Self,
    Params{Range{"range"}, Param<arg::Text>{"style"}},
    [](qm::EditorState& st, const std::string& range, const std::string& style) {
        return qm::set_border(st, range, style);
    },
};

constexpr EditorMethod remove_style{
    "remove_style", Access::Edit, Returns::Self,
    Params{Range{"range"}},
    [](qm::EditorState& st, const std::string& range) { return qm::remove_style_in_range(st, range); },
};

}  // namespace

const PyMethodDef set_number_format_method = editor_entry<set_number_format>();
const PyMethodDef set_fill_method = editor_entry<set_fill>();
const PyMethodDef set_font_method = editor_entry<set_font>();
const PyMethodDef set_alignment_method = editor_entry<set_alignment>();
const PyMethodDef merge_cells_method = editor_entry<merge_cells>();
const PyMethodDef set_border_method = editor_entry<set_border>();
const PyMethodDef remove_style_method = editor_entry<remove_style>();

}  // namespace qmpy

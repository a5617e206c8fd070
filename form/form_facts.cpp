// Prints the form description and the messages as JSON. The web page builds
// its window and says its errors from this file, and the Python tests read the
// same facts as the C++ front ends.
#include <cstdio>
#include <string>
#include <utility>

#include "accessible_texts.h"
#include "form.h"
#include "messages.h"

namespace {

using namespace tarpo::form;

std::string Utf8(const char16_t* text) {
    std::string out;
    for (const char16_t* c = text; *c != 0; ++c) {
        char32_t code = *c;
        if (code >= 0xD800 && code < 0xDC00 && c[1] >= 0xDC00 && c[1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (c[1] - 0xDC00);
            ++c;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string Quoted(const char16_t* text) { return Quoted(Utf8(text)); }

std::string Json(Rect r) {
    return "[" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.width) + ", " + std::to_string(r.height) + "]";
}

std::string Json(Size s) {
    return "[" + std::to_string(s.width) + ", " + std::to_string(s.height) + "]";
}

std::string Json(const Font& f) {
    return "{\"family\": " + Quoted(f.family) + ", \"pixel_size\": " + std::to_string(f.pixelSize) +
           ", \"bold\": " + (f.bold ? "true" : "false") +
           ", \"italic\": " + (f.italic ? "true" : "false") + "}";
}

std::string Json(Rgb c) {
    return "[" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " +
           std::to_string(c.blue) + "]";
}

}  // namespace

int main() {
    std::string out = "{\n";
    auto field = [&out](const char* name, const std::string& value) {
        out += std::string("  \"") + name + "\": " + value + ",\n";
    };
    field("title", Quoted(kTitle));
    field("client_size", Json(kClientSize));
    field("board_origin",
          "[" + std::to_string(kBoardLeft) + ", " + std::to_string(kBoardTop) + "]");
    field("board_side", std::to_string(kBoardSide));
    field("cell_pitch", std::to_string(kCellPitch));
    field("piece_side", std::to_string(kPieceSide));
    // Each cell's box, framed and unframed, as CellRect gives it.
    std::string cells = "{";
    for (const bool framed : {true, false}) {
        cells += framed ? "\"framed\": [" : ", \"unframed\": [";
        for (int i = 0; i < kBoardCells; ++i)
            cells += (i == 0 ? "" : ", ") + Json(CellRect(i, framed));
        cells += "]";
    }
    field("cell_rects", cells + "}");
    field("frame_width", std::to_string(kFrameWidth));
    // The focus ring's outer edge in a framed and an unframed cell's box, and
    // its two colours; the bands' width in device pixels comes from the game.
    field("focus_ring", "{\"framed\": " + Json(FocusRingRect(true)) +
                            ", \"unframed\": " + Json(FocusRingRect(false)) +
                            ", \"outer\": " + Json(kCellFocusRing.outer) +
                            ", \"inner\": " + Json(kCellFocusRing.inner) + "}");
    field("new_game_button_rect", Json(kNewGameButtonRect));
    field("new_game_caption", Quoted(kNewGameCaption));
    field("picture_set_list_rect", Json(kPictureSetListRect));
    field("preview_rect", Json(kPreviewRect));
    field("motto_rect", Json(kMottoRect));
    field("motto_text", Quoted(kMottoText));
    field("motto_colour", Json(kMottoColour));
    field("motto_font", Json(kMottoFont));
    field("dialog_font", Json(kDialogFont));
    field("menu_captions", "[" + Quoted(kMenuCaption) + ", " + Quoted(kHelpCaption) + ", " +
                               Quoted(kAuthorCaption) + "]");
    field("exit_caption", Quoted(kExitCaption));
    // The form's language, and each text in another, by the text.
    field("language", Quoted(kFormLanguage));
    std::string languages = "{";
    for (const TextLanguage& other : kOtherLanguages)
        languages += (languages.size() == 1 ? "" : ", ") + Quoted(other.text) + ": " +
                     Quoted(other.language);
    field("text_languages", languages + "}");
    field("help_title", Quoted(kHelpTitle));
    field("help_text", Quoted(kHelpText));
    field("author_title", Quoted(kAuthorTitle));
    field("author_text", Quoted(kAuthorText));
    field("message_box_button", Quoted(kMessageBoxButton));
    field("preview_size", Json(kPreviewSize));
    // What assistive technology hears: the cells' names as templates (the
    // tests read them; the game module names the page's cells), the list's
    // name, the win.
    field("accessible", std::string("{\"cell_name\": ") + Quoted(kCellNameTemplate) +
                            ", \"tile\": " + Quoted(kCellShowsTile) +
                            ", \"nothing\": " + Quoted(kCellShowsNothing) +
                            ", \"last_piece\": " + Quoted(kCellShowsLastPiece) + ", \"list\": " +
                            Quoted(kPictureSetListName) + ", \"board\": " + Quoted(kBoardName) +
                            ", \"solved\": " + Quoted(kSolvedAnnouncement) + "}");
    const std::pair<const char*, const char16_t*> errors[] = {
        {"program_name", kProgramName},
        {"cannot_open_window", kCannotOpenWindow},
        {"no_x_display", kNoXDisplay},
        {"no_x_server", kNoXServer},
        {"no_wayland_display", kNoWaylandDisplay},
        {"wayland_display", kWaylandDisplay},
        {"cannot_decode_picture", kCannotDecodePicture},
        {"wrong_picture_size", kWrongPictureSize},
        {"missing_picture_resource", kMissingPictureResource},
        {"page_cannot_start", kPageCannotStart},
        {"page_cannot_load", kPageCannotLoad},
        {"page_cannot_load_status", kPageCannotLoadStatus},
        {"page_the_game", kPageTheGame},
        {"page_the_form", kPageTheForm},
        {"page_the_picture", kPageThePicture},
        {"page_connection_lost", kPageConnectionLost},
        {"page_damaged_file", kPageDamagedFile},
        {"page_form_damaged", kPageFormDamaged},
        {"page_form_mismatch", kPageFormMismatch},
        {"page_picture_damaged", kPagePictureDamaged},
        {"page_no_style_sheet", kPageNoStyleSheet},
        {"page_cannot_run_game", kPageCannotRunGame},
        {"page_game_exited", kPageGameExited},
        {"page_no_webassembly", kPageNoWebAssembly},
        {"page_internal_error", kPageInternalError},
        {"page_waiting", kPageWaiting},
        {"page_script_not_run", kPageScriptNotRun},
        {"page_game_ended", kPageGameEnded},
        {"page_play_again", kPagePlayAgain},
    };
    std::string texts = "{";
    for (const auto& [name, text] : errors)
        texts += (texts.size() == 1 ? "\"" : ", \"") + std::string(name) + "\": " + Quoted(text);
    field("errors", texts + "}");
    // Each set with the paths of its pictures under assets/.
    std::string sets = "[";
    for (int s = 0; s < static_cast<int>(kPictureSets.size()); ++s) {
        const PictureSet& set = kPictureSets[static_cast<std::size_t>(s)];
        std::string pieces = "[";
        for (int p = 0; p < kPieceCount; ++p)
            pieces += (p == 0 ? "" : ", ") + Quoted(PiecePath(s, p).data());
        sets += std::string(s == 0 ? "" : ", ") + "{\"name\": " + Quoted(set.name) +
                ", \"folder\": " + Quoted(set.folder) + ", \"pieces\": " + pieces + "]" +
                ", \"preview\": " + (set.hasPreview ? Quoted(PreviewPath(s).data()) : "null") + "}";
    }
    out += "  \"picture_sets\": " + sets + "]\n}\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}

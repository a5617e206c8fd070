// What the programs say when they cannot start or stop, and the page's own
// notices. Every text is here so that the front ends and the tests share it.
// "%1", "%2"... are filled in where a text is said.
#pragma once

namespace tarpo::form {

inline constexpr char16_t kProgramName[] = u"tarpo";

// The desktop programs print these on standard error, or show them in a box
// titled kProgramName.
inline constexpr char16_t kCannotOpenWindow[] = u"не удалось открыть окно: %1";
inline constexpr char16_t kNoXDisplay[] =
    u"нет X-дисплея, к которому подключиться (DISPLAY не задан)";
inline constexpr char16_t kNoXServer[] = u"X-сервер на дисплее \"%1\" не отвечает";
inline constexpr char16_t kNoWaylandDisplay[] = u"WAYLAND_DISPLAY не задан";
inline constexpr char16_t kWaylandDisplay[] = u"WAYLAND_DISPLAY \"%1\"";
inline constexpr char16_t kCannotDecodePicture[] = u"не удалось прочитать картинку %1";
inline constexpr char16_t kWrongPictureSize[] = u"картинка %1 размером %2x%3 вместо %4x%5";
inline constexpr char16_t kMissingPictureResource[] =
    u"картинки %1 нет в программе или её не удалось прочитать";

// The page's start-up failures. kPageCannotStart wraps the others.
inline constexpr char16_t kPageCannotStart[] = u"tarpo не может запуститься: %1.";
inline constexpr char16_t kPageCannotLoad[] = u"не удалось загрузить %1 %2";
inline constexpr char16_t kPageCannotLoadStatus[] = u"не удалось загрузить %1 %2 (%3)";
// What could not be loaded, for the %1 of the texts above.
inline constexpr char16_t kPageTheGame[] = u"игру";
inline constexpr char16_t kPageTheForm[] = u"описание формы";
inline constexpr char16_t kPageThePicture[] = u"картинку";
inline constexpr char16_t kPageConnectionLost[] = u"не удалось загрузить %1 %2: связь прервалась";
inline constexpr char16_t kPageDamagedFile[] = u"файл %1 повреждён или от другой версии игры";
inline constexpr char16_t kPageFormDamaged[] = u"описание формы %1 повреждено";
inline constexpr char16_t kPageFormMismatch[] = u"описание формы %1 не подходит к этой странице";
inline constexpr char16_t kPagePictureDamaged[] = u"картинка %1 повреждена";
inline constexpr char16_t kPageNoStyleSheet[] = u"не загрузилась таблица стилей %1";
inline constexpr char16_t kPageCannotRunGame[] = u"не удалось запустить игру %1 (%2)";
inline constexpr char16_t kPageGameExited[] = u"%1 завершилась с кодом %2";
inline constexpr char16_t kPageNoWebAssembly[] =
    u"этот браузер не выполняет WebAssembly, без которого игра не работает";

// A fault the page did not foresee. The details go to the browser's console.
inline constexpr char16_t kPageInternalError[] =
    u"tarpo остановилась из-за внутренней ошибки. Перезагрузите страницу.";
// Start-up has received nothing for a while: %1 is the files it waits for,
// %2 the seconds waited.
inline constexpr char16_t kPageWaiting[] =
    u"tarpo ждёт с сервера: %1 — ничего не приходит уже %2\u00a0с. "
    u"Игра запустится, как только файлы придут.";
// Shown when the page's script never ran. The site's writer puts it into the
// page itself, since without a script nothing else can show it.
inline constexpr char16_t kPageScriptNotRun[] =
    u"tarpo не запустилась: скрипт страницы (main.js) не загрузился или не выполнился.\n"
    u"Для игры в браузере нужен JavaScript. Откройте страницу с веб-сервера по адресу её "
    u"папки, с «/» на конце; открытую из файла (file://) браузер не выполняет.\n"
    u"Сервер должен отдавать файлы .js как text/javascript.";
// Shown after "Exit" where the browser does not let the page close its
// window, with a button that starts a new game.
inline constexpr char16_t kPageGameEnded[] =
    u"Игра окончена. Закройте вкладку или окно — или сыграйте снова.";
inline constexpr char16_t kPagePlayAgain[] = u"Играть снова";

}  // namespace tarpo::form

// Names that tie the program to its files on disk, to its windows and to the
// controls of their layouts.
// Each including file gets its own copy (internal linkage); values are the same everywhere.
#pragma once

#include <string>

const wchar_t* const RESOURCE_FOLDER = L"res/";
const wchar_t* const LANGUAGE_FOLDER = L"res\\values\\";
const wchar_t* const MAIN_WINDOW_LAYOUT = L"layout\\MainWindow.xml";
const wchar_t* const ABOUT_WINDOW_LAYOUT = L"layout\\about.xml";
const wchar_t* const OPEN_SOURCE_NOTICE_FILE = L"res\\Notice\\OpenSourceSoftwareNotice.htm";
const wchar_t* const CONFIRM_WINDOW_LAYOUT = L"layout\\cumulative_confirm.xml";
const wchar_t* const ABOUT_WINDOW_CLASS = L"OrvelleAboutExUI";
const wchar_t* const ABOUT_WINDOW_TITLE = L"OrvelleEx";
const wchar_t* const MAIN_WINDOW_CLASS = L"OrvelleExUI";
const wchar_t* const MAIN_WINDOW_TITLE = L"OrvelleEx";

// Controls the code finds by name in layout\MainWindow.xml.
const wchar_t* const CLOSE_BUTTON = L"closeButton";
const wchar_t* const MIN_BUTTON = L"minButton";
const wchar_t* const ABOUT_BUTTON = L"aboutButton";
const wchar_t* const LOADING_ANIMATION = L"loadWaitAnimate";
const wchar_t* const LOADING_VIEW = L"loadingHotfixLayout";
const wchar_t* const LOAD_FAIL_VIEW = L"loadHotfixFailLayout";
const wchar_t* const LOAD_FAIL_TEXT = L"loadHotfixFailText";
const wchar_t* const RESULT_VIEW = L"loadHotfixFinishLayout";
const wchar_t* const COUNT_TITLE = L"hotfixFirstTitle";
const wchar_t* const TIP_BUTTON = L"btnUninstallTip";
const wchar_t* const TIP_PANEL = L"hotfixDiscribeLayout";
const wchar_t* const HOTFIX_LIST = L"containerInstalledHotfix";
const wchar_t* const MAIN_WINDOW_CONTROLS[] = {
    CLOSE_BUTTON,   MIN_BUTTON,  ABOUT_BUTTON, LOADING_ANIMATION, LOADING_VIEW, LOAD_FAIL_VIEW,
    LOAD_FAIL_TEXT, RESULT_VIEW, COUNT_TITLE,  TIP_BUTTON,        TIP_PANEL,    HOTFIX_LIST};

// Also in layout\MainWindow.xml: the restart bar and the notice shown while
// closing waits for a removal.
const wchar_t* const RESTART_BAR = L"restartBar";
const wchar_t* const RESTART_BAR_TEXT = L"restartBarText";
const wchar_t* const RESTART_NOW_BUTTON = L"restartNowButton";
const wchar_t* const CLOSING_NOTICE = L"closingNotice";

// Controls the code finds by name in layout\about.xml.
const wchar_t* const ABOUT_CLOSE_BUTTON = L"aboutWndCloseButton";
const wchar_t* const OPEN_SOURCE_STATEMENT = L"openSourceStatement";
const wchar_t* const TOOL_VERSION = L"toolVersion";
// Shown when no desktop shell can open the notice: a line and the notice's path.
const wchar_t* const NOTICE_PATH_TIPS = L"noticePathTips";
const wchar_t* const NOTICE_PATH = L"noticePath";
const wchar_t* const ABOUT_WINDOW_CONTROLS[] = {ABOUT_CLOSE_BUTTON, OPEN_SOURCE_STATEMENT,
                                                TOOL_VERSION, NOTICE_PATH_TIPS, NOTICE_PATH};

// The cumulative update's confirmation (layout\cumulative_confirm.xml): its
// window class and the controls the code finds in it.
const wchar_t* const CONFIRM_WINDOW_CLASS = L"OrvelleConfirmExUI";
const wchar_t* const CONFIRM_QUESTION = L"confirmQuestion";
const wchar_t* const CONFIRM_UNINSTALL_BUTTON = L"confirmUninstallButton";
const wchar_t* const CONFIRM_CANCEL_BUTTON = L"confirmCancelButton";

// The Hide updates dialog (layout\hide_updates.xml, a line of it in
// layout\hide_updates_line.xml) and its button in MainWindow.xml.
const wchar_t* const HIDE_UPDATES_BUTTON = L"hideUpdatesButton";
const wchar_t* const HIDE_UPDATES_WINDOW_CLASS = L"OrvelleHideUpdatesExUI";
const wchar_t* const HIDE_UPDATES_LAYOUT = L"layout\\hide_updates.xml";
const wchar_t* const HIDE_UPDATES_LINE_LAYOUT = L"layout\\hide_updates_line.xml";
const wchar_t* const HIDE_UPDATES_CLOSE = L"hideUpdatesCloseButton";
const wchar_t* const HIDE_UPDATES_CANCEL = L"hideUpdatesCancelButton";
const wchar_t* const HIDE_UPDATES_SEARCHING = L"hideUpdatesSearching";
const wchar_t* const HIDE_UPDATES_MESSAGE = L"hideUpdatesMessage";
const wchar_t* const HIDE_UPDATES_LIST = L"hideUpdatesList";
const wchar_t* const HIDE_UPDATES_STATUS = L"hideUpdatesStatus";
const wchar_t* const PAUSE_UPDATES_LINK = L"pauseUpdatesLink";

const std::wstring ITEM_LAYOUT = L"layout\\Hotfix_container_item_detail.xml";
// A row's uninstall button is named this followed by the row's HotFixID.
const std::wstring UNINSTALL_BUTTON_PREFIX = L"btnUniName";

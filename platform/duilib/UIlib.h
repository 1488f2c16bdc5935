// The UI toolkit in one include.
#pragma once

#include "duilib/UIControl.h"
#include "duilib/UIControls.h"
#include "duilib/UICulture.h"
#include "duilib/UIDialogBuilder.h"
#include "duilib/UIMainQueue.h"
#include "duilib/UIManager.h"
#include "duilib/UINotify.h"
#include "duilib/UIString.h"
#include "duilib/UIWindow.h"
#include "duilib/UIWindowApi.h"

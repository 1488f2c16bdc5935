// The UI toolkit in one include.
#pragma once

#include "UIControl.h"
#include "UIControls.h"
#include "UICulture.h"
#include "UIDialogBuilder.h"
#include "UIMainQueue.h"
#include "UIManager.h"
#include "UINotify.h"
#include "UIString.h"
#include "UIWindow.h"

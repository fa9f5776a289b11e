// Resource ids of the deployment program, shared by its resource scripts and the code.
#pragma once

// The message file of its events, TollveyEvents.dll, as it is written out.
#define IDR_EVENT_MESSAGES 201

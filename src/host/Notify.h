#pragma once
// Process-wide notification service: callbacks registered per code, called in registration
// order when the host broadcasts that code.

#include "host/MaxTypes.h"

struct NotifyInfo {
    int intcode = 0;
    void* callParam = nullptr;  // e.g. the render global context for the frame notifications
};

using NOTIFYPROC = void (*)(void* param, NotifyInfo* info);

constexpr int NOTIFY_NODE_RENAMED = 30;  // callParam: the INode*
constexpr int NOTIFY_PRE_RENDERFRAME = 22;
constexpr int NOTIFY_POST_RENDERFRAME = 23;
constexpr int NOTIFY_NODE_LINKED = 59;             // callParam: the INode* (the child)
constexpr int NOTIFY_NODE_UNLINKED = 60;           // callParam: the INode* (the child)
constexpr int NOTIFY_SCENE_PRE_DELETED_NODE = 68;  // callParam: the INode*
constexpr int NOTIFY_SEL_NODES_PRE_DELETE = 70;    // callParam: INodeTab* of the nodes
constexpr int NOTIFY_SYSTEM_SHUTDOWN = 73;

// Registering the same (proc, param, code) twice has no further effect. Returns TRUE.
int RegisterNotification(NOTIFYPROC proc, void* param, int code);
// Returns TRUE when the registration existed.
int UnRegisterNotification(NOTIFYPROC proc, void* param, int code);
// Calls every callback registered for `code`. Callbacks may register or unregister others
// while a broadcast runs; the change takes effect from the next broadcast.
void BroadcastNotification(int code, void* callParam = nullptr);

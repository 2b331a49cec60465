// Whether this process runs with the rights of the built-in Administrators group.
#pragma once

bool IsRunningAsAdministrator();

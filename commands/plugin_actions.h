#pragma once

namespace zembrit {

// "Edit": opens the configuration file in the editor the shell names.
void openConfigurationInEditor();

// "About": the plugin's name, author, web link and e-mail in a modal box.
void showAboutBox();

}  // namespace zembrit

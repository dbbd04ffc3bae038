// Telling running programs that system settings changed, so that the shell
// shows new icons and new programs see new environment variables.
#pragma once

namespace install {

// The shell reloads file associations.
void AnnounceAssociationChange();

// Top-level windows learn that the environment changed. Each window may take
// up to a time-out to answer, one after another, so the broadcast runs on a
// thread of its own and the caller waits for it a few seconds at most.
void AnnounceEnvironmentChange();

}  // namespace install

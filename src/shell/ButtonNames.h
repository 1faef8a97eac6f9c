#pragma once

// Names every button for screen readers, once for the whole program: a
// button with a caption is named by it (Qt does so), a picture button by
// its tooltip, which otherwise is only its description.
void NameButtonsForScreenReaders();

// Starting each timed run with cold processor caches.
#pragma once

// Fills the processor caches with other data. A command of the user starts
// with the caches holding whatever ran before it; repeated in a tight loop, a
// small definition would stay in the caches between runs while a large one
// cannot, and the growth from 10,000 to 100,000 entries would measure the
// cache size instead of the code. Called untimed before each timed run.
void FillCachesWithOtherData();

#pragma once

// Configuration keys exactly as the shell's settings functions take them.
namespace zembrit::keys {

inline constexpr char x[] = "Zembrit.plugin.x:";
inline constexpr char y[] = "Zembrit.plugin.y:";
inline constexpr char inSlit[] = "Zembrit.plugin.inSlit:";
inline constexpr char motionBlur[] = "Zembrit.plugin.motionblur:";
inline constexpr char motionBlurAlpha[] = "Zembrit.plugin.motionbluralpha:";
inline constexpr char transparencyEnabled[] = "Zembrit.plugin.transparency.enabled:";
inline constexpr char transbackEnabled[] = "Zembrit.plugin.transback.enabled:";
inline constexpr char transparencyAlpha[] = "Zembrit.plugin.transparency.alpha:";
inline constexpr char alwaysOnTop[] = "Zembrit.plugin.alwaysontop:";
inline constexpr char snapWindow[] = "Zembrit.plugin.snapwindow:";
inline constexpr char toggleWithPlugins[] = "Zembrit.plugin.togglewithplugins:";
inline constexpr char updateUrl[] = "Zembrit.plugin.update.url:";
inline constexpr char width[] = "Zembrit.plugin.width:";
inline constexpr char height[] = "Zembrit.plugin.height:";
inline constexpr char startWaveMonitorOnStartUp[] = "Zembrit.plugin.wave.StartWaveMonitorOnStartUp:";
inline constexpr char bufferPoints[] = "Zembrit.plugin.wave.buffsize:";
inline constexpr char framesPerSecond[] = "Zembrit.plugin.wave.fps:";
inline constexpr char sampleKHz[] = "Zembrit.plugin.wave.KHz:";
inline constexpr char sampleBits[] = "Zembrit.plugin.wave.bit:";
inline constexpr char waveSource[] = "Zembrit.plugin.wave.source:";
inline constexpr char waveDevice[] = "Zembrit.plugin.wave.device:";
inline constexpr char scopeWidth[] = "Zembrit.plugin.style.scopeWidth:";
inline constexpr char scopeColorKey[] = "Zembrit.plugin.style.ScopeColor:";
inline constexpr char tabPosition[] = "Zembrit.plugin.style.tabPosition:";
inline constexpr char scopeType[] = "Zembrit.plugin.style.scopeType:";
inline constexpr char showBorder[] = "Zembrit.plugin.showBorder:";

}  // namespace zembrit::keys

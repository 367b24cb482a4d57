program QryDemo;

uses
  Forms,
  QryDemoMain in 'QryDemoMain.pas' {DemoForm};

begin
  Application.Initialize;
  Application.CreateForm(TDemoForm, DemoForm);
  Application.Run;
end.
